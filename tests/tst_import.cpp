// Key sheet import: reading and checking sheets, registering the good rows
// through the workspace against the in-process fake server, the report, and
// the device table's filter and export.

#include "CDeviceTableFilter.h"
#include "CIAboutDevice.h"
#include "CImportCheckDialog.h"
#include "CImportProgressDialog.h"
#include "CImportReport.h"
#include "CImportSession.h"
#include "CKeySheetChecker.h"
#include "CKeySheetImport.h"
#include "CKeySheetReader.h"
#include "CServerClient.h"
#include "CSettings.h"
#include "FakeServer.h"
#include "ModalAnswerer.h"
#include "TestHelpers.h"

#include <QtWidgets>

#include <memory>

namespace {
const QString appEui = QStringLiteral("70B3D57ED0000001");
const QString appKey = QStringLiteral("00112233445566778899AABBCCDDEEFF");
const QByteArray keys = "70B3D57ED0001234,70B3D57ED0000001,00112233445566778899AABBCCDDEEFF";

QString euiOf(int i) { return QStringLiteral("70B3D5AA%1").arg(i, 8, 16, QLatin1Char('0')).toUpper(); }

// A header and `rows` good rows; row i (from 0) is on line i + 2.
QByteArray goodSheet(int rows)
{
    QByteArray sheet = "DevEUI,AppEUI,AppKey\n";
    for (int i = 0; i < rows; ++i)
        sheet += (euiOf(i) + ',' + appEui + ',' + appKey + '\n').toUtf8();
    return sheet;
}

QJsonObject verdict(const QString& status, const QString& devEui)
{
    return {{PK::cmd, PK::manageDevicesResp}, {PK::deviceAddStatus, QJsonArray{QJsonObject{{PK::status, status}, {PK::devEui, devEui}}}}};
}

QString devEuiOf(const QJsonObject& request) { return request.value(PK::devicesList)[0][PK::devEui].toString(); }

// The report's rows without its header: line, DevEUI, verdict, text.
QVector<QStringList> reportRows(const QString& path)
{
    QFile file(path);
    QVector<QStringList> rows;
    if (file.open(QIODevice::ReadOnly))
        for (const CKeySheetReader::Record& record : CKeySheetReader::records(QString::fromUtf8(file.readAll()).mid(1), ','))
            rows.append(record.fields);
    return rows.mid(1);
}

QMap<QString, int> verdictCounts(const QVector<QStringList>& report)
{
    QMap<QString, int> counts;
    for (const QStringList& row : report)
        ++counts[row.value(2)];
    return counts;
}
} // namespace

class TestImport : public QObject
{
    Q_OBJECT

    FakeServer m_server;
    std::unique_ptr<CIAboutDevice> m_ws;
    QTemporaryDir m_dir;

    // Writes the sheet and opens its import: the check dialog is up.
    CKeySheetImport* openImport(const QByteArray& sheet)
    {
        QFile file(m_dir.filePath(QStringLiteral("sheet.csv")));
        if (!file.open(QIODevice::WriteOnly) || file.write(sheet) != sheet.size())
            return nullptr;
        file.close();
        m_ws->importSheet(file.fileName());
        const auto imports = m_ws->findChildren<CKeySheetImport*>();   // an earlier one may be on its way out
        return imports.isEmpty() || !imports.last()->checkDialog() ? nullptr : imports.last();
    }
    // Presses Send: the progress dialog is up.
    static CKeySheetImport* confirm(CKeySheetImport* import)
    {
        if (!import || !import->checkDialog()->sendButton())
            return nullptr;
        import->checkDialog()->sendButton()->click();
        return QTest::qWaitFor([import] { return import->session() && import->progressDialog(); }, 2000) ? import : nullptr;
    }
    QStringList takeRequests(int count)
    {
        QStringList devEuis;
        while (devEuis.size() < count)
            devEuis << devEuiOf(m_server.waitForMessage(PK::manageDevicesReq));
        return devEuis;
    }
    static QString labelText(const CKeySheetImport* import, const char* name)
    {
        return TestHelpers::child<QLabel>(import->progressDialog(), name)->text();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        TestHelpers::startProgramObjects();
    }
    void init()
    {
        QVERIFY(m_server.loginClient(CServerClient::instance()));
        m_server.clearAutoReplies();
        m_ws = std::make_unique<CIAboutDevice>();
        m_ws->statusCon({true});
        currentDevicesFileName = m_dir.filePath(QStringLiteral("Devices.txt"));   // the reports go beside it
        m_server.clearMessages();
    }
    void cleanup()
    {
        m_ws.reset();
        QDir(m_dir.path()).removeRecursively();
        QDir().mkpath(m_dir.path());
    }

    void readsSheets_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<bool>("header");
        QTest::addColumn<QString>("name");   // of the first row
        QTest::addColumn<QList<int>>("lines");
        QTest::newRow("comma, snake-case header, CR LF")
            << "dev_eui,join_eui,app_key,device_id\r\n" + keys + ",Boiler\r\n" + keys + ",x\r\n" << "," << true
            << "Boiler" << QList<int>{2, 3};
        QTest::newRow("semicolon, byte-order mark, other order and case, unknown column")
            << QByteArray("\xEF\xBB\xBF" "Name;Comment;APPKEY;JoinEUI;DevEui\n"
                          "Boiler;any;00112233445566778899AABBCCDDEEFF;70B3D57ED0000001;70B3D57ED0001234\n")
            << ";" << true << "Boiler" << QList<int>{2};
        QTest::newRow("tab, no header (pasted), blank rows left out")
            << QByteArray(keys).replace(',', '\t') + "\n\n\t\t\n" + QByteArray(keys).replace(',', '\t') << "\t"
            << false << "" << QList<int>{1, 4};
        QTest::newRow("quoted: separator, doubled quote, line break")
            << "name,DevEUI,AppEUI,AppKey\n\"Hall, \"\"B\"\"\nfloor 2\"," + keys + "\n\" x \"," + keys + "\n" << ","
            << true << "Hall, \"B\"\nfloor 2" << QList<int>{2, 4};
        const QString unicodeText = "DevEUI\tAppEUI\tAppKey\tname\n" + QString::fromLatin1(keys).replace(',', '\t')
                                    + QStringLiteral("\tКотельная\n");
        QTest::newRow("UTF-16 with byte-order mark (spreadsheet Unicode text)")
            << "\xFF\xFE" + QByteArray(reinterpret_cast<const char*>(unicodeText.utf16()), unicodeText.size() * 2)
            << "\t" << true << "Котельная" << QList<int>{2};
    }

    void readsSheets()
    {
        QFETCH(QByteArray, bytes);
        const KeySheet sheet = CKeySheetReader::read(bytes);
        QCOMPARE(sheet.error, QString());
        QTEST(QString(sheet.separator), "separator");
        QTEST(sheet.hasHeader, "header");
        const KeySheetRow& row = sheet.rows.value(0);
        QCOMPARE(row.devEui, QStringLiteral("70B3D57ED0001234"));
        QCOMPARE(row.appEui, appEui);
        QCOMPARE(row.appKey, appKey);
        QTEST(row.name, "name");
        QList<int> lines;
        for (const KeySheetRow& each : sheet.rows)
            lines << each.line;
        QTEST(lines, "lines");
    }

    void refusesUnusableSheets_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("error");
        const QString noRows = QStringLiteral("В файле нет ни одной строки с ключами");
        QTest::newRow("header without AppKey") << QByteArray("DevEUI;JoinEUI;name\n1;2;3\n") << "В заголовке нет столбца AppKey";
        QTest::newRow("column named twice") << QByteArray("dev_eui,DevEUI,AppEUI,AppKey\n") << "Столбец DevEUI назван в заголовке дважды";
        QTest::newRow("header only") << QByteArray("DevEUI,AppEUI,AppKey\r\n,,\r\n") << noRows;
        QTest::newRow("empty") << QByteArray() << noRows;
    }

    void refusesUnusableSheets()
    {
        QFETCH(QByteArray, bytes);
        QTEST(CKeySheetReader::read(bytes).error, "error");
    }

    // Rows after the header DevEUI,AppEUI,AppKey,DevAddr,AppSKey,NwkSKey (a sheet of its own when it has one).
    void checksRows_data()
    {
        QTest::addColumn<QByteArray>("rows");
        QTest::addColumn<QList<int>>("lines");   // of the rejected rows
        QTest::addColumn<QStringList>("reasons");
        const QByteArray session = "00112233445566778899AABBCCDDEEFF";
        const QByteArray abp = ",0A0B0C0D," + session + "," + session + "\n";
        const auto rejected = [](const char* name, const QByteArray& row, const QString& reason) {
            QTest::newRow(name) << row << QList<int>{2} << QStringList{reason};
        };
        QTest::newRow("OTAA and ABP") << keys + "\n" + QByteArray(keys).replace("1234", "1235") + abp << QList<int>()
                                      << QStringList();
        rejected("short DevEUI, letter in AppEUI, no AppKey", "70B3D57ED000123,70B3D57ED000000G,",
                 "DevEUI «70B3D57ED000123»: нужно 16 шестнадцатеричных цифр; "
                 "AppEUI «70B3D57ED000000G»: нужно 16 шестнадцатеричных цифр; нет AppKey");
        rejected("AppKey of 31", QByteArray(keys).left(keys.size() - 1),
                 "AppKey «00112233445566778899AABBCCDDEEF»: нужно 32 шестнадцатеричные цифры");
        rejected("DevAddr alone", keys + ",0A0B0C0D", "для ABP нужны DevAddr, AppSKey и NwkSKey вместе");
        rejected("DevAddr 00000000", keys + QByteArray(abp).replace("0A0B0C0D", "00000000"), "DevAddr 00000000 не бывает");
        rejected("DevAddr above 7FFFFFFF", keys + QByteArray(abp).replace("0A0B0C0D", "80000000"), "DevAddr больше 7FFFFFFF");
        rejected("short session key", keys + ",0A0B0C0D," + session + ",0011", "NwkSKey «0011»: нужно 32 шестнадцатеричные цифры");
        rejected("quote never closed", keys + ",\"0A0B", "кавычка не закрыта до конца файла; "
                 "для ABP нужны DevAddr, AppSKey и NwkSKey вместе; DevAddr «0A0B»: нужно 8 шестнадцатеричных цифр");
        rejected("name not UTF-8", "name,DevEUI,AppEUI,AppKey\n\xC0\xC1," + keys, "имя не в кодировке UTF-8");
        QTest::newRow("duplicates") << "70B3D57ED0000001,70B3D57ED0000001,00112233445566778899AABBCCDDEEFF\n"   // 2: sent once
            "70b3d57ed0000001,70B3D57ED0000001,00112233445566778899aabbccddeeff\n"    // 3: its repeat
            "70B3D57ED0000002,70B3D57ED0000001,00112233445566778899AABBCCDDEEFF\n"    // 4: clashes with 5
            "70B3D57ED0000002,70B3D57ED0000001,FF112233445566778899AABBCCDDEEFF\n"    // 5
            "70B3D57ED0000003,70B3D57ED0000001,00112233445566778899AABBCCDDEEFF" + abp +   // 6
            "70B3D57ED0000004,70B3D57ED0000001,00112233445566778899AABBCCDDEEFF" + QByteArray(abp).toLower()   // 7
            << QList<int>{3, 4, 5, 7}
            << QStringList{"повтор строки 2", "DevEUI есть и в строке 5, с другими ключами",
                           "DevEUI есть и в строке 4, с другими ключами", "DevAddr уже у строки 6"};
    }

    void checksRows()
    {
        QFETCH(QByteArray, rows);
        const QByteArray header = rows.startsWith("name") ? QByteArray() : "DevEUI,AppEUI,AppKey,DevAddr,AppSKey,NwkSKey\n";
        const KeySheet sheet = CKeySheetReader::read(header + rows);
        const SheetCheck check = CKeySheetChecker::check(sheet);
        QList<int> lines;
        QStringList reasons;
        for (const RejectedRow& row : check.rejected) {
            lines << row.line;
            reasons << row.reason;
        }
        QTEST(lines, "lines");
        QTEST(reasons, "reasons");
        QCOMPARE(check.good.size() + check.rejected.size(), sheet.rows.size());   // every row judged once
    }

    // Every good row goes out once and no bad row does; the report holds the server's verdict on each.
    void registersGoodRowsAndReports()
    {
        // Rows 3 and 7 are held with other keys; from row 30 on the server is full.
        const auto statusOf = [](int i) {
            return i == 3 || i == 7 ? PK::Status::reginfoAlreadyExist : i < 30 ? PK::Status::added : PK::Status::maxDevCountReached;
        };
        QHash<QString, QString> names;
        m_server.setAutoReply(PK::manageDevicesReq, [&](const QJsonObject& request) {
            const QString devEui = devEuiOf(request).toUpper();   // answered in upper case
            names.insert(devEui, request.value(PK::devicesList)[0][PK::devName].toString());
            return QList<QJsonObject>{verdict(statusOf(devEui.right(8).toInt(nullptr, 16)), devEui)};
        });
        TestHelpers::child<QLineEdit>(m_ws.get(), "nameEdit")->setText(QStringLiteral("%deveui-imp"));
        QByteArray sheet = goodSheet(40).replace("AppKey\n", "AppKey,name\n").replace(euiOf(5).toUtf8(), euiOf(5).toLower().toUtf8());
        sheet.replace(appKey.toUtf8() + '\n' + euiOf(11).toUtf8(), appKey.toUtf8() + ",Pump 10\n" + euiOf(11).toUtf8());
        sheet += "70B3D5AA0000000,70B3D57ED0000001,00112233445566778899AABBCCDDEEFF\n"      // line 42: short
                 "70B3D5AAFFFFFFFF,70B3D57ED0000001,00112233445566778899AABBCCDDEEZZ\n";    // line 43: bad key
        CKeySheetImport* import = openImport(sheet);
        QVERIFY(import);
        auto* rejected = import->checkDialog()->findChild<QTableWidget*>("rejectedTable");
        QCOMPARE(rejected->rowCount(), 2);
        QCOMPARE(rejected->item(0, 0)->text(), QStringLiteral("42"));
        QCOMPARE(rejected->item(0, 2)->text(), QStringLiteral("DevEUI «70B3D5AA0000000»: нужно 16 шестнадцатеричных цифр"));
        QCOMPARE(rejected->item(1, 0)->text(), QStringLiteral("43"));
        QCOMPARE(TestHelpers::child<QLabel>(import->checkDialog(), "summaryLabel")->text(), QStringLiteral("Годных строк: 40 из 42. Отклонено: 2."));
        QSignalSpy done(import, &CKeySheetImport::finished);
        QVERIFY(confirm(import));
        QVERIFY(done.wait(10000));

        QCOMPARE(m_server.received(PK::manageDevicesReq).size(), 40);
        QVERIFY(!names.contains(QStringLiteral("70B3D5AAFFFFFFFF")));
        QCOMPARE(names.value(euiOf(10)), QStringLiteral("Pump 10"));
        QCOMPARE(names.value(euiOf(11)), euiOf(11) + QStringLiteral("-imp"));
        // No lookup per device; the counts once, at the end.
        QTRY_COMPARE(m_server.received(PK::serverInfoReq).size(), 1);
        QCOMPARE(m_server.received(PK::getDevicesReq).size(), 0);

        QCOMPARE(import->reportPath(), m_dir.filePath("sheet-report.csv"));
        const QVector<QStringList> report = reportRows(import->reportPath());
        QCOMPARE(report.size(), 42);
        for (int i = 0; i < 40; ++i) {
            QCOMPARE(report.at(i).value(0), QString::number(i + 2));
            QCOMPARE(report.at(i).value(1).toUpper(), euiOf(i));
            QCOMPARE(report.at(i).value(2), statusOf(i));
            QCOMPARE(report.at(i).value(3), CIAboutDevice::operatorText(statusOf(i)));
        }
        QCOMPARE(report.at(40).value(2), CImportReport::rejectedWord);
        QCOMPARE(report.at(41).value(2), CImportReport::rejectedWord);
        QCOMPARE(labelText(import, "countsLabel").split('\n'),
                 (QStringList{"Добавлено: 28", "Обновлено: 0", "Без изменений: 0", "maxDevCountReached: 10", "reginfoAlreadyExist: 2"}));
        QFile devices(currentDevicesFileName);
        QVERIFY(devices.open(QIODevice::ReadOnly));
        QCOMPARE(devices.readAll().count("DevEui:"), 40);
    }

    // Cancel stops the sending at once; the answers still due are counted until
    // the operator stops waiting for them.
    void cancelHalfway()
    {
        CKeySheetImport* import = confirm(openImport(goodSheet(40)));
        QVERIFY(import);
        CImportSession* session = import->session();
        QCOMPARE(session->sentCount(), CImportSession::maxInFlight);   // never all at once
        const QStringList first = takeRequests(16);
        for (int i = 0; i < 8; ++i)
            m_server.send(verdict(PK::Status::added, first.at(15 - i).toLower()));   // any order, any case
        QTRY_COMPARE(session->answeredCount(), 8);
        QCOMPARE(session->sentCount(), 24);

        auto* action = import->progressDialog()->findChild<QPushButton*>("actionButton");
        action->click();
        takeRequests(8);
        m_server.send(verdict(PK::Status::nothingToUpdate, first.at(0)));
        QTRY_COMPARE(session->answeredCount(), 9);
        QSignalSpy done(import, &CKeySheetImport::finished);
        action->click();
        QCOMPARE(done.count(), 1);

        QCOMPARE(m_server.received(PK::manageDevicesReq).size(), 24);
        const QVector<QStringList> report = reportRows(import->reportPath());
        QCOMPARE(verdictCounts(report), (QMap<QString, int>{{PK::Status::added, 8}, {PK::Status::nothingToUpdate, 1},
                                                           {CImportReport::noAnswerWord, 15}, {CImportReport::notSentWord, 16}}));
        QCOMPARE(report.at(39).value(3), QStringLiteral("Не отправлено: импорт отменён"));
        QCOMPARE(labelText(import, "stateLabel"), QStringLiteral("Импорт отменён: не отправлено 16, без ответа 15"));
    }

    void connectionLostHalfway()
    {
        CKeySheetImport* import = confirm(openImport(goodSheet(40)));
        QVERIFY(import);
        const QStringList first = takeRequests(16);
        for (int i = 0; i < 7; ++i)
            m_server.send(verdict(PK::Status::added, first.at(i)));
        // An answer that names no device is the oldest request's: answers keep the order of requests.
        m_server.send(verdict(PK::Status::updated, QString()));
        QTRY_COMPARE(import->session()->answeredCount(), 8);
        QSignalSpy done(import, &CKeySheetImport::finished);
        m_server.dropClient();
        QVERIFY(done.wait(5000));

        QCOMPARE(import->session()->stopReason(), CImportSession::Stop::ConnectionLost);
        QCOMPARE(labelText(import, "stateLabel"),
                 QStringLiteral("Соединение с сервером потеряно: отправлено 24, получено ответов 8; не отправлено 16"));
        const QVector<QStringList> report = reportRows(import->reportPath());
        QCOMPARE(verdictCounts(report), (QMap<QString, int>{{PK::Status::added, 7}, {PK::Status::updated, 1},
                                                           {CImportReport::noAnswerWord, 16}, {CImportReport::notSentWord, 16}}));
        QCOMPARE(report.at(7).value(2), PK::Status::updated);
        QCOMPARE(report.at(8).value(2), CImportReport::noAnswerWord);
        QCOMPARE(report.at(24).value(3), QStringLiteral("Не отправлено: соединение с сервером потеряно"));
    }

    // A devices file that cannot be written stops the import after one box, not one box per row.
    void devicesFileUnwritable()
    {
        currentDevicesFileName = m_dir.path();   // a folder
        ModalAnswerer boxes;
        boxes.answer(QMessageBox::Ok);
        CKeySheetImport* import = confirm(openImport(goodSheet(20)));
        QVERIFY(import);
        QCOMPARE(boxes.answered(), 1);
        QCOMPARE(import->session()->sentCount(), 1);
        QSignalSpy done(import, &CKeySheetImport::finished);
        m_server.send(verdict(PK::Status::added, devEuiOf(m_server.waitForMessage(PK::manageDevicesReq))));
        QVERIFY(done.wait(5000));
        QCOMPARE(import->session()->stopReason(), CImportSession::Stop::DevicesFileFailed);
        QCOMPARE(reportRows(import->reportPath()).value(19).value(3), QStringLiteral("Не отправлено: файл устройств не записывается"));
    }

    void tableFilter_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("none") << "" << QStringList{"Boiler room", "boiler 2", "Pump", "Имя не установлено"};
        QTest::newRow("name, any case") << "BOIL" << QStringList{"Boiler room", "boiler 2"};
        QTest::newRow("DevEUI, lower case") << "aa00000003" << QStringList{"Pump"};
        QTest::newRow("nothing") << "nowhere" << QStringList();
    }

    // A refill is filtered as well; the export holds the rows shown.
    void tableFilter()
    {
        auto* table = TestHelpers::child<QTableWidget>(m_ws.get(), "deviceTable");
        m_server.send(FakeServer::serverInfoResp(true));   // prepares the table
        QTRY_COMPARE(table->columnCount(), 3);
        const QStringList names{"Boiler room", "boiler 2", "Pump", ""}, classes{"CLASS_A", "CLASS_C", "CLASS_A", "CLASS_A"};
        const auto fill = [&](int count) {
            QJsonArray devices;
            for (int i = 0; i < count; ++i)
                devices.append(QJsonObject{{PK::devEui, euiOf(i + 1)}, {PK::devName, names[i]}, {PK::devClass, classes[i]}});
            m_ws->fillDeviceTable(QJsonDocument(QJsonObject{{PK::cmd, PK::getDevicesResp}, {PK::devicesList, devices}}));
        };
        fill(1);
        QFETCH(QString, filter);
        TestHelpers::child<QLineEdit>(m_ws.get(), "tableFilterEdit")->setText(filter);
        fill(4);
        QStringList shown, expected{"name,DevEUI,class"};
        for (int row = 0; row < table->rowCount(); ++row) {
            if (!table->isRowHidden(row)) {
                shown << table->item(row, 0)->text();
                expected << shown.last() + ',' + euiOf(row + 1) + ',' + classes[row];
            }
        }
        QTEST(shown, "shown");
        const QString path = m_dir.filePath("devices.csv");
        QVERIFY(m_ws->findChild<CDeviceTableFilter*>()->exportTo(path, nullptr));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.read(3), QByteArray("\xEF\xBB\xBF"));
        QCOMPARE(QString::fromUtf8(file.readAll()).split('\n'), expected << QString());
    }
};

QTEST_MAIN(TestImport)
#include "tst_import.moc"
