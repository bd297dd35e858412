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
    <name>CDeviceTableFilter</name>
    <message>
        <source>Фильтр: DevEUI или имя</source>
        <translation>Filter: DevEUI or name</translation>
    </message>
    <message>
        <source>Экспорт в CSV…</source>
        <translation>Export to CSV…</translation>
    </message>
    <message>
        <source>Экспорт в CSV</source>
        <translation>Export to CSV</translation>
    </message>
    <message>
        <source>Файлы CSV (*.csv)</source>
        <translation>CSV files (*.csv)</translation>
    </message>
    <message>
        <source>Файл %1 не записан: %2</source>
        <translation>File %1 was not written: %2</translation>
    </message>
    <message>
        <source>Записано устройств: %1
%2</source>
        <translation>Devices written: %1
%2</translation>
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
    <message>
        <source>Импорт из файла…</source>
        <translation>Import from file…</translation>
    </message>
    <message>
        <source>Импорт из файла</source>
        <translation>Import from file</translation>
    </message>
    <message>
        <source>Таблицы ключей (*.csv *.tsv *.txt);;Все файлы (*)</source>
        <translation>Key sheets (*.csv *.tsv *.txt);;All files (*)</translation>
    </message>
</context>
<context>
    <name>CImportCheckDialog</name>
    <message>
        <source>Импорт из файла</source>
        <translation>Import from file</translation>
    </message>
    <message>
        <source>Файл: %1</source>
        <translation>File: %1</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Годных строк: %1 из %2. Отклонено: %3.</source>
        <translation>Good rows: %1 of %2. Rejected: %3.</translation>
    </message>
    <message>
        <source>Эти строки не будут отправлены:</source>
        <translation>These rows will not be sent:</translation>
    </message>
    <message>
        <source>Строка</source>
        <translation>Line</translation>
    </message>
    <message>
        <source>Причина</source>
        <translation>Reason</translation>
    </message>
    <message>
        <source>Нет подключения к серверу: строки можно только проверить</source>
        <translation>No connection to the server: the rows can only be checked</translation>
    </message>
    <message>
        <source>Отправить годные (%1)</source>
        <translation>Send the good rows (%1)</translation>
    </message>
</context>
<context>
    <name>CImportProgressDialog</name>
    <message>
        <source>Импорт из файла</source>
        <translation>Import from file</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Добавлено: %1</source>
        <translation>Added: %1</translation>
    </message>
    <message>
        <source>Обновлено: %1</source>
        <translation>Updated: %1</translation>
    </message>
    <message>
        <source>Без изменений: %1</source>
        <translation>Nothing to update: %1</translation>
    </message>
    <message>
        <source>Отправлено %1 из %2, получено ответов: %3</source>
        <translation>Sent %1 of %2, answers received: %3</translation>
    </message>
    <message>
        <source>Отправка остановлена, ждём ответов: %1</source>
        <translation>Sending stopped, waiting for answers: %1</translation>
    </message>
    <message>
        <source>Импорт завершён</source>
        <translation>Import finished</translation>
    </message>
    <message>
        <source>Импорт остановлен</source>
        <translation>Import stopped</translation>
    </message>
    <message>
        <source>Строк в файле: %1; отклонено при проверке: %2; отправлено: %3 из %4; получено ответов: %5</source>
        <translation>Rows in the file: %1; rejected by the check: %2; sent: %3 of %4; answers received: %5</translation>
    </message>
    <message>
        <source>Импорт отменён: не отправлено %1, без ответа %2</source>
        <translation>Import cancelled: %1 not sent, %2 without an answer</translation>
    </message>
    <message>
        <source>Соединение с сервером потеряно: отправлено %1, получено ответов %2; не отправлено %3</source>
        <translation>Connection to the server lost: %1 sent, %2 answers received; %3 not sent</translation>
    </message>
    <message>
        <source>Нет подключения к серверу: ничего не отправлено</source>
        <translation>No connection to the server: nothing was sent</translation>
    </message>
    <message>
        <source>Файл устройств не записывается: импорт остановлен, не отправлено %1</source>
        <translation>The devices file cannot be written: import stopped, %1 not sent</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Отчёт: %1</source>
        <translation>Report: %1</translation>
    </message>
    <message>
        <source>Отчёт не записан в %1: %2</source>
        <translation>Report not written to %1: %2</translation>
    </message>
    <message>
        <source>Не ждать ответов</source>
        <translation>Stop waiting for answers</translation>
    </message>
</context>
<context>
    <name>CImportReport</name>
    <message>
        <source>Не отправлено: соединение с сервером потеряно</source>
        <translation>Not sent: connection to the server lost</translation>
    </message>
    <message>
        <source>Не отправлено: нет подключения к серверу</source>
        <translation>Not sent: no connection to the server</translation>
    </message>
    <message>
        <source>Не отправлено: файл устройств не записывается</source>
        <translation>Not sent: the devices file cannot be written</translation>
    </message>
    <message>
        <source>Не отправлено: импорт отменён</source>
        <translation>Not sent: import cancelled</translation>
    </message>
    <message>
        <source>Отправлено, ответа нет</source>
        <translation>Sent, no answer</translation>
    </message>
</context>
<context>
    <name>CKeySheetChecker</name>
    <message>
        <source>кавычка не закрыта до конца файла</source>
        <translation>quote not closed before the end of the file</translation>
    </message>
    <message>
        <source>больше трёх столбцов, а заголовка нет: добавьте строку заголовка</source>
        <translation>more than three columns and no header: add a header row</translation>
    </message>
    <message>
        <source>нет %1</source>
        <translation>%1 is missing</translation>
    </message>
    <message>
        <source>для ABP нужны DevAddr, AppSKey и NwkSKey вместе</source>
        <translation>ABP needs DevAddr, AppSKey and NwkSKey together</translation>
    </message>
    <message>
        <source>DevAddr «%1»: нужно 8 шестнадцатеричных цифр</source>
        <translation>DevAddr “%1”: 8 hexadecimal digits expected</translation>
    </message>
    <message>
        <source>DevAddr 00000000 не бывает</source>
        <translation>DevAddr 00000000 is not an address</translation>
    </message>
    <message>
        <source>DevAddr больше 7FFFFFFF</source>
        <translation>DevAddr above 7FFFFFFF</translation>
    </message>
    <message>
        <source>AppSKey «%1»: нужно 32 шестнадцатеричные цифры</source>
        <translation>AppSKey “%1”: 32 hexadecimal digits expected</translation>
    </message>
    <message>
        <source>NwkSKey «%1»: нужно 32 шестнадцатеричные цифры</source>
        <translation>NwkSKey “%1”: 32 hexadecimal digits expected</translation>
    </message>
    <message>
        <source>имя не в кодировке UTF-8</source>
        <translation>name is not UTF-8 text</translation>
    </message>
    <message>
        <source>повтор строки %1</source>
        <translation>repeats line %1</translation>
    </message>
    <message>
        <source>DevEUI есть и в строке %1, с другими ключами</source>
        <translation>DevEUI also on line %1, with other keys</translation>
    </message>
    <message>
        <source>DevAddr уже у строки %1</source>
        <translation>DevAddr already on line %1</translation>
    </message>
    <message>
        <source>%1 «%2»: нужно 16 шестнадцатеричных цифр</source>
        <translation>%1 “%2”: 16 hexadecimal digits expected</translation>
    </message>
    <message>
        <source>AppKey «%1»: нужно 32 шестнадцатеричные цифры</source>
        <translation>AppKey “%1”: 32 hexadecimal digits expected</translation>
    </message>
</context>
<context>
    <name>CKeySheetReader</name>
    <message>
        <source>Не файл: %1</source>
        <translation>Not a file: %1</translation>
    </message>
    <message>
        <source>Файл больше %1 МБ: это не таблица ключей</source>
        <translation>File larger than %1 MB: not a key sheet</translation>
    </message>
    <message>
        <source>Файл не читается: %1</source>
        <translation>File cannot be read: %1</translation>
    </message>
    <message>
        <source>Столбец %1 назван в заголовке дважды</source>
        <translation>Column %1 named twice in the header</translation>
    </message>
    <message>
        <source>В заголовке нет столбца %1</source>
        <translation>The header has no column %1</translation>
    </message>
    <message>
        <source>В файле нет ни одной строки с ключами</source>
        <translation>The file holds no row of keys</translation>
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
