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
    <name>CDeviceTableFilter</name>
    <message>
        <source>Фильтр: DevEUI или имя</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Экспорт в CSV…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Экспорт в CSV</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Файлы CSV (*.csv)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Файл %1 не записан: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Записано устройств: %1
%2</source>
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
        <translation></translation>
    </message>
    <message>
        <source>Импорт из файла…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Импорт из файла</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Таблицы ключей (*.csv *.tsv *.txt);;Все файлы (*)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CImportCheckDialog</name>
    <message>
        <source>Импорт из файла</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Файл: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Годных строк: %1 из %2. Отклонено: %3.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Эти строки не будут отправлены:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Строка</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Причина</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Нет подключения к серверу: строки можно только проверить</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Отправить годные (%1)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CImportProgressDialog</name>
    <message>
        <source>Импорт из файла</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Добавлено: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Обновлено: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Без изменений: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Отправлено %1 из %2, получено ответов: %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Отправка остановлена, ждём ответов: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Импорт завершён</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Импорт остановлен</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Строк в файле: %1; отклонено при проверке: %2; отправлено: %3 из %4; получено ответов: %5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Импорт отменён: не отправлено %1, без ответа %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Соединение с сервером потеряно: отправлено %1, получено ответов %2; не отправлено %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Нет подключения к серверу: ничего не отправлено</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Файл устройств не записывается: импорт остановлен, не отправлено %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Отчёт: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Отчёт не записан в %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Не ждать ответов</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CImportReport</name>
    <message>
        <source>Не отправлено: соединение с сервером потеряно</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Не отправлено: нет подключения к серверу</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Не отправлено: файл устройств не записывается</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Не отправлено: импорт отменён</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Отправлено, ответа нет</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CKeySheetChecker</name>
    <message>
        <source>кавычка не закрыта до конца файла</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>больше трёх столбцов, а заголовка нет: добавьте строку заголовка</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>нет %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>для ABP нужны DevAddr, AppSKey и NwkSKey вместе</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DevAddr «%1»: нужно 8 шестнадцатеричных цифр</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DevAddr 00000000 не бывает</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DevAddr больше 7FFFFFFF</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>AppSKey «%1»: нужно 32 шестнадцатеричные цифры</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NwkSKey «%1»: нужно 32 шестнадцатеричные цифры</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>имя не в кодировке UTF-8</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>повтор строки %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DevEUI есть и в строке %1, с другими ключами</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DevAddr уже у строки %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 «%2»: нужно 16 шестнадцатеричных цифр</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>AppKey «%1»: нужно 32 шестнадцатеричные цифры</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CKeySheetReader</name>
    <message>
        <source>Не файл: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Файл больше %1 МБ: это не таблица ключей</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Файл не читается: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Столбец %1 назван в заголовке дважды</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>В заголовке нет столбца %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>В файле нет ни одной строки с ключами</source>
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
