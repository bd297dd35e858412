<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>CAbstatractSettingsField</name>
    <message>
        <source>Адаптивная скорость передачи данных</source>
        <translation>Adaptive data rate</translation>
    </message>
    <message>
        <source>Скорость передачи данных</source>
        <translation>Preferred data rate</translation>
    </message>
    <message>
        <source>Мощность передачи данных</source>
        <translation>Preferred transmit power</translation>
    </message>
    <message>
        <source>Устройство</source>
        <translation>Device</translation>
    </message>
    <message>
        <source>Имя устройства</source>
        <translation>Device name</translation>
    </message>
    <message>
        <source>Класс устройства</source>
        <translation>Device class</translation>
    </message>
    <message>
        <source>Экспертные настройки</source>
        <translation>Expert settings</translation>
    </message>
    <message>
        <source>Частотный план</source>
        <translation>Frequency plan</translation>
    </message>
    <message>
        <source>Частота</source>
        <translation>Frequency</translation>
    </message>
    <message>
        <source>Активно</source>
        <translation>Enabled</translation>
    </message>
    <message>
        <source>FIXED</source>
        <translation>FIXED</translation>
    </message>
    <message>
        <source>RX2 Частота, Hz</source>
        <translation>RX2 frequency, Hz</translation>
    </message>
    <message>
        <source>Расположение</source>
        <translation>Location</translation>
    </message>
    <message>
        <source>Широта</source>
        <translation>Latitude</translation>
    </message>
    <message>
        <source>Долгота</source>
        <translation>Longtitude</translation>
    </message>
    <message>
        <source>Высота над уровнем моря</source>
        <translation>Altitude</translation>
    </message>
    <message>
        <source>Опциональные настройки</source>
        <translation>Optional settings</translation>
    </message>
    <message>
        <source>Настройки устройства RX</source>
        <translation>Device RX settings</translation>
    </message>
    <message>
        <source>Окно RX</source>
        <translation>RX window</translation>
    </message>
    <message>
        <source>Задержка Join RX1</source>
        <translation>RX1 delay</translation>
    </message>
    <message>
        <source>Скорость передачи RX2</source>
        <translation>RX2 data rate</translation>
    </message>
    <message>
        <source>Задержка присоединения</source>
        <translation>Accept Join Delay</translation>
    </message>
    <message>
        <source>Настройки устройства класса C</source>
        <translation>Class C device settings</translation>
    </message>
    <message>
        <source>Время реакции устройства класса С, (мс)</source>
        <translation>Class C device reaction time, (ms)</translation>
    </message>
    <message>
        <source>От -90.00 до 90.00</source>
        <translation>From -90.00 to 90.00</translation>
    </message>
    <message>
        <source>От -180.00 до 180.00</source>
        <translation>From -180.00 to 180.00</translation>
    </message>
</context>
<context>
    <name>CIAboutDevice</name>
    <message>
        <source>Регистрация устройства</source>
        <translation>Device registration</translation>
    </message>
    <message>
        <source>Таблица устройств</source>
        <translation>Device table</translation>
    </message>
    <message>
        <source>&amp;Добавить</source>
        <translation>&amp;Add</translation>
    </message>
    <message>
        <source>Добавлять в автоматическом режиме</source>
        <translation>Add in auto-mode</translation>
    </message>
    <message>
        <source>Основные данные</source>
        <translation>General data</translation>
    </message>
    <message>
        <source>Список готовых настроек</source>
        <translation>List of presets</translation>
    </message>
    <message>
        <source>Имя пресета</source>
        <translation>Preset name</translation>
    </message>
    <message>
        <source>Сохранить</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Нет подлючения к серверу</source>
        <translation>No connection to the server</translation>
    </message>
    <message>
        <source>Зарегистрировано</source>
        <translation>Registered</translation>
    </message>
    <message>
        <source>Данное устройство, еще не зарегистрировано на сервере</source>
        <translation>This device is not registered on the server yet</translation>
    </message>
    <message>
        <source>Имя устройства</source>
        <translation>Device name</translation>
    </message>
    <message>
        <source>Действие</source>
        <translation>Action</translation>
    </message>
    <message>
        <source>Имя не установлено</source>
        <translation>Name not set</translation>
    </message>
    <message>
        <source>Удалить</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Предупреждение</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Repetition preset name</source>
        <translation>Repetition preset name</translation>
    </message>
    <message>
        <source>Success created!</source>
        <translation>Success created!</translation>
    </message>
    <message>
        <source>Данные устройства с сервера</source>
        <translation>Device data from the server</translation>
    </message>
    <message>
        <source>Зарегистрировано устройств: </source>
        <translation>Registered devices: </translation>
    </message>
    <message>
        <source>DevEui: </source>
        <translation>DevEui: </translation>
    </message>
    <message>
        <source>AppEui: </source>
        <translation>AppEui: </translation>
    </message>
    <message>
        <source>AppKey:</source>
        <translation>AppKey:</translation>
    </message>
    <message>
        <source>DevAddr: </source>
        <translation>DevAddr: </translation>
    </message>
    <message>
        <source>AppsKye:</source>
        <translation>AppsKye:</translation>
    </message>
    <message>
        <source>NwksKey:</source>
        <translation>NwksKey:</translation>
    </message>
    <message>
        <source>Имя устройства: </source>
        <translation>Device name: </translation>
    </message>
    <message>
        <source>Класс устройства: </source>
        <translation>Device class: </translation>
    </message>
    <message>
        <source>Время отклика(мс): </source>
        <translation>Response time(ms): </translation>
    </message>
    <message>
        <source>Частотный план: </source>
        <translation>Frequency plan: </translation>
    </message>
    <message>
        <source>Частота 4:</source>
        <translation>Freq 4:</translation>
    </message>
    <message>
        <source>Частота 5:</source>
        <translation>Freq 5:</translation>
    </message>
    <message>
        <source>Частота 6:</source>
        <translation>Freq 6:</translation>
    </message>
    <message>
        <source>Частота 7:</source>
        <translation>Freq 7:</translation>
    </message>
    <message>
        <source>Частота 8:</source>
        <translation>Freq 8:</translation>
    </message>
    <message>
        <source>Enable server ADR:</source>
        <translation>Enable server ADR:</translation>
    </message>
    <message>
        <source>Rx2 частота: </source>
        <translation>RX2 frequency: </translation>
    </message>
    <message>
        <source>Скорость передачи: </source>
        <translation>Data rate: </translation>
    </message>
    <message>
        <source>Мощность передачи: </source>
        <translation>Transmit power: </translation>
    </message>
    <message>
        <source>Окно RX: </source>
        <translation>RX window: </translation>
    </message>
    <message>
        <source>Задержка RX1: </source>
        <translation>RX1 delay: </translation>
    </message>
    <message>
        <source>Скорость передачи RX2: </source>
        <translation>RX2 data rate: </translation>
    </message>
    <message>
        <source>Задержка присоединения:</source>
        <translation>Accept Join Delay:</translation>
    </message>
    <message>
        <source>Широта: </source>
        <translation>Latitude: </translation>
    </message>
    <message>
        <source>Долгота: </source>
        <translation>Longtitude: </translation>
    </message>
    <message>
        <source>Высота над уровнем моря: </source>
        <translation>Altitude: </translation>
    </message>
    <message>
        <source>Вы уверены что хотите удалить устройство %1?</source>
        <translation>Are you sure you want to delete the device %1?</translation>
    </message>
    <message>
        <source>Пресет не сохранён: файл настроек недоступен для записи</source>
        <translation>The preset was not saved: the settings file cannot be written</translation>
    </message>
    <message>
        <source>Имя &quot;%1&quot; занято списком, выберите другое</source>
        <translation>The name &quot;%1&quot; is taken by the list, choose another one</translation>
    </message>
</context>
<context>
    <name>CLeftPanel</name>
    <message>
        <source>:/icons/Zarvo_logo_ru.png</source>
        <translation>:/icons/Zarvo_logo_en.png</translation>
    </message>
    <message>
        <source>Настройки программы</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Отправить данные</source>
        <translation>Send data</translation>
    </message>
</context>
<context>
    <name>CMessageParser</name>
    <message>
        <source>Имя не установлено</source>
        <translation>Name not set</translation>
    </message>
</context>
<context>
    <name>CScanerSettings</name>
    <message>
        <source>Сканер</source>
        <translation>Scaner</translation>
    </message>
    <message>
        <source>&amp;Обновить</source>
        <translation>&amp;Update</translation>
    </message>
</context>
<context>
    <name>CServerSettingsWidget</name>
    <message>
        <source>Статус :</source>
        <translation>Status:</translation>
    </message>
    <message>
        <source>IP:</source>
        <translation>IP:</translation>
    </message>
    <message>
        <source>example input -&gt; 127.0.0.1:XXXXX</source>
        <translation>example input -&gt; 127.0.0.1:XXXXX</translation>
    </message>
    <message>
        <source>Пользователь:</source>
        <translation>User:</translation>
    </message>
    <message>
        <source>Пароль:</source>
        <translation>Password:</translation>
    </message>
    <message>
        <source>Запомнить логин и пароль</source>
        <translation>Remember me</translation>
    </message>
    <message>
        <source>&amp;Отключиться</source>
        <translation>&amp;Disconnect</translation>
    </message>
    <message>
        <source>&amp;Подключиться</source>
        <translation>&amp;Connect</translation>
    </message>
    <message>
        <source>Неверный IP адрес</source>
        <translation>Invalid IP address</translation>
    </message>
    <message>
        <source>Указан неверный IP адрес</source>
        <translation>Invalid IP address specified</translation>
    </message>
</context>
<context>
    <name>CTopPanel</name>
    <message>
        <source>Зарегистрировано всего:</source>
        <translation>Registered total:</translation>
    </message>
    <message>
        <source>              Добавлено устройств:</source>
        <translation>              Devices added:</translation>
    </message>
    <message>
        <source>Удалить добавленные устройства</source>
        <translation>Delete added devices</translation>
    </message>
    <message>
        <source>Язык: </source>
        <translation>Language: </translation>
    </message>
</context>
<context>
    <name>DataSender</name>
    <message>
        <source>Устройству UID: %1 отправлен пакет с запросом из файла %2</source>
        <translation>Device UID: %1 was sent a request packet from file %2</translation>
    </message>
    <message>
        <source>Устройство UID: %1 удалено с сервера</source>
        <translation>Device UID: %1 was deleted from the server</translation>
    </message>
</context>
<context>
    <name>SendDataDialog</name>
    <message>
        <source>Отправка данных на устройство</source>
        <translation>Send data to device</translation>
    </message>
    <message>
        <source>Порт:</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>Данные:</source>
        <translation>Data:</translation>
    </message>
</context>
</TS>
