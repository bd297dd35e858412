<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>CAbstatractSettingsField</name>
    <message>
        <source>Адаптивная скорость передачи данных</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Скорость передачи данных</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Мощность передачи данных</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Устройство</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Имя устройства</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Класс устройства</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Экспертные настройки</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Частотный план</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Частота</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Активно</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>FIXED</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RX2 Частота, Hz</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Расположение</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Широта</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Долгота</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Высота над уровнем моря</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Опциональные настройки</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Настройки устройства RX</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Окно RX</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Задержка Join RX1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Скорость передачи RX2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Задержка присоединения</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Настройки устройства класса C</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Время реакции устройства класса С, (мс)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>От -90.00 до 90.00</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>От -180.00 до 180.00</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CIAboutDevice</name>
    <message>
        <source>Регистрация устройства</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Таблица устройств</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Добавить</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Добавлять в автоматическом режиме</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Основные данные</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Список готовых настроек</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Имя пресета</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Сохранить</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Нет подлючения к серверу</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Зарегистрировано</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Данное устройство, еще не зарегистрировано на сервере</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Имя устройства</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Действие</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Имя не установлено</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Удалить</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Предупреждение</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Repetition preset name</source>
        <translation>Имя такого пресета уже занято</translation>
    </message>
    <message>
        <source>Success created!</source>
        <translation>Успешно создано!</translation>
    </message>
    <message>
        <source>Данные устройства с сервера</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Зарегистрировано устройств: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DevEui: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>AppEui: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>AppKey:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DevAddr: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>AppsKye:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NwksKey:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Имя устройства: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Класс устройства: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Время отклика(мс): </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Частотный план: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Частота 4:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Частота 5:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Частота 6:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Частота 7:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Частота 8:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enable server ADR:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rx2 частота: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Скорость передачи: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Мощность передачи: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Окно RX: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Задержка RX1: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Скорость передачи RX2: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Задержка присоединения:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Широта: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Долгота: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Высота над уровнем моря: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Вы уверены что хотите удалить устройство %1?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Пресет не сохранён: файл настроек недоступен для записи</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Имя &quot;%1&quot; занято списком, выберите другое</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CLeftPanel</name>
    <message>
        <source>:/icons/Zarvo_logo_ru.png</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Настройки программы</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Отправить данные</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CMessageParser</name>
    <message>
        <source>Имя не установлено</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CScanerSettings</name>
    <message>
        <source>Сканер</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Обновить</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CServerSettingsWidget</name>
    <message>
        <source>Статус :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>IP:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>example input -&gt; 127.0.0.1:XXXXX</source>
        <translation>Пример ввода -&gt; 127.0.0.1:XXXXX</translation>
    </message>
    <message>
        <source>Пользователь:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Пароль:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Запомнить логин и пароль</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Отключиться</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Подключиться</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Неверный IP адрес</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Указан неверный IP адрес</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CTopPanel</name>
    <message>
        <source>Зарегистрировано всего:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>              Добавлено устройств:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Удалить добавленные устройства</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Язык: </source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DataSender</name>
    <message>
        <source>Устройству UID: %1 отправлен пакет с запросом из файла %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Устройство UID: %1 удалено с сервера</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SendDataDialog</name>
    <message>
        <source>Отправка данных на устройство</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Порт:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Данные:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
