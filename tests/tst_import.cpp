// Key sheet import: reading and checking sheets, registering the good rows
// through the workspace against the in-process fake server, and the report.

#include "CIAboutDevice.h"
#include "CImportReport.h"
#include "CImportSession.h"
#include "CKeySheetImport.h"
#include "CServerClient.h"
#include "CSettings.h"
#include "FakeServer.h"
#include "ModalAnswerer.h"
#include "TestHelpers.h"

#include <QtWidgets>

Q_DECLARE_METATYPE(CImportSession::Stop)

namespace {
const QString appEui = QStringLiteral("70B3D57ED0000001");
const QString appKey = QStringLiteral("00112233445566778899AABBCCDDEEFF");
const QByteArray keys = "70B3D57ED0001234,70B3D57ED0000001,00112233445566778899AABBCCDDEEFF";
const QByteArray otherKeys = QByteArray(keys).replace("1234", "1235");

QString euiOf(int i) { return QStringLiteral("70B3D5AA%1").arg(i, 8, 16, QLatin1Char('0')).toUpper(); }

QString sheetEui(int i) { return i == 5 ? euiOf(i).toLower() : euiOf(i); }

// 40 good rows (row i, from 0, on line i + 2; row 5 in lower case, row 10 named)
// and two bad ones on lines 42 and 43.
QByteArray keySheet()
{
    QByteArray sheet = "DevEUI,AppEUI,AppKey,name\n";
    for (int i = 0; i < 40; ++i)
        sheet += (sheetEui(i) + ',' + appEui + ',' + appKey + (i == 10 ? ",Pump 10\n" : ",\n")).toUtf8();
    return sheet + "70B3D5AA0000000,70B3D57ED0000001,00112233445566778899AABBCCDDEEFF\n"
                   "70B3D5AAFFFFFFFF,70B3D57ED0000001,00112233445566778899AABBCCDDEEZZ\n";
}

QJsonObject verdict(const QString& status, const QString& devEui)
{
    const QJsonObject entry{{PK::status, status}, {PK::devEui, devEui}};
    return {{PK::cmd, PK::manageDevicesResp}, {PK::deviceAddStatus, QJsonArray{entry}}};
}

// The report's rows, after its byte-order mark and header: line, DevEUI, verdict, text.
QVector<QStringList> reportRows(const QString& path)
{
    QFile file(path);
    const QString text = file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).mid(1) : QString();
    QVector<QStringList> rows;
    for (const CKeySheetReader::Record& record : CKeySheetReader::records(text, ','))
        rows.append(record.fields);
    return rows.mid(1);
}
} // namespace

class TestImport : public QObject
{
    Q_OBJECT

    FakeServer m_server;

private slots:
    void initTestCase() { TestHelpers::startProgramObjects(); }

    // A sheet through the reader and the row check: the first good row's keys and
    // name, the lines of the good rows, and each rejected row's line and reasons.
    void readsAndChecksSheets_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("error");   // the sheet's: then it holds no rows
        QTest::addColumn<QStringList>("first");
        QTest::addColumn<QList<int>>("good");
        QTest::addColumn<QList<int>>("rejected");
        QTest::addColumn<QStringList>("reasons");
        const auto read = [](const char* name, const QByteArray& bytes, const QString& firstName, QList<int> good) {
            const QStringList first{QStringLiteral("70B3D57ED0001234"), appEui, appKey, firstName};
            QTest::addRow("%s", name) << bytes << "" << first << good << QList<int>() << QStringList();
        };
        const auto unusable = [](const char* name, const QByteArray& bytes, const QString& error) {
            QTest::addRow("%s", name) << bytes << error << QStringList() << QList<int>() << QList<int>()
                                      << QStringList();
        };
        read("comma, snake-case header, CR LF",
             "dev_eui,join_eui,app_key,device_id\r\n" + keys + ",Boiler\r\n" + otherKeys + ",x\r\n",
             "Boiler", {2, 3});
        read("semicolon, byte-order mark, other order and case, unknown column",
             "\xEF\xBB\xBF" "Name;Comment;APPKEY;JoinEUI;DevEui\n"
             "Boiler;any;00112233445566778899AABBCCDDEEFF;70B3D57ED0000001;70B3D57ED0001234\n",
             "Boiler", {2});
        const QByteArray tabbed = QByteArray(keys).replace(',', '\t');
        read("tab, no header (pasted), blank rows left out",
             tabbed + "\n\n\t\t\n" + QByteArray(otherKeys).replace(',', '\t'), "", {1, 4});
        read("quoted: separator, doubled quote, line break",
             "name,DevEUI,AppEUI,AppKey\n\"Hall, \"\"B\"\"\nfloor 2\"," + keys + "\n\" x \"," + otherKeys + "\n",
             "Hall, \"B\"\nfloor 2", {2, 4});
        const QString unicodeText =
            "DevEUI\tAppEUI\tAppKey\tname\n" + QString::fromLatin1(tabbed) + QStringLiteral("\tКотельная\n");
        const QByteArray utf16(reinterpret_cast<const char*>(unicodeText.utf16()), unicodeText.size() * 2);
        read("UTF-16 with byte-order mark (spreadsheet Unicode text)", "\xFF\xFE" + utf16, "Котельная", {2});

        const QByteArray header = "DevEUI,AppEUI,AppKey,DevAddr,AppSKey,NwkSKey\n";
        const QByteArray session = "00112233445566778899AABBCCDDEEFF";
        const QByteArray abp = ",0A0B0C0D," + session + "," + session + "\n";
        const auto abpWith = [&abp](const char* devAddr) { return QByteArray(abp).replace("0A0B0C0D", devAddr); };
        // The row on line 2, after the header above.
        const auto rejected = [&header](const char* name, const QByteArray& row, const QString& reason) {
            QTest::addRow("%s", name) << header + row << "" << QStringList() << QList<int>() << QList<int>{2}
                                      << QStringList{reason};
        };
        rejected("short DevEUI, letter in AppEUI, no AppKey", "70B3D57ED000123,70B3D57ED000000G,",
                 "DevEUI «70B3D57ED000123»: нужно 16 шестнадцатеричных цифр; "
                 "AppEUI «70B3D57ED000000G»: нужно 16 шестнадцатеричных цифр; нет AppKey");
        rejected("keys cut short", QByteArray(keys).chopped(1) + ",0A0B0C0D," + session + ",0011",
                 "AppKey «00112233445566778899AABBCCDDEEF»: нужно 32 шестнадцатеричные цифры; "
                 "NwkSKey «0011»: нужно 32 шестнадцатеричные цифры");
        rejected("DevAddr 00000000", keys + abpWith("00000000"), "DevAddr 00000000 не бывает");
        rejected("DevAddr above 7FFFFFFF", keys + abpWith("80000000"), "DevAddr больше 7FFFFFFF");
        rejected("quote never closed, DevAddr alone", keys + ",\"0A0B",
                 "кавычка не закрыта до конца файла; для ABP нужны DevAddr, AppSKey и NwkSKey вместе; "
                 "DevAddr «0A0B»: нужно 8 шестнадцатеричных цифр");
        QTest::addRow("name not UTF-8") << "name,DevEUI,AppEUI,AppKey\n\xC0\xC1," + keys << "" << QStringList()
                                        << QList<int>() << QList<int>{2} << QStringList{"имя не в кодировке UTF-8"};
        QTest::addRow("duplicates")
            << header + "70B3D57ED0000001,70B3D57ED0000001,00112233445566778899AABBCCDDEEFF\n"   // 2: sent once
                        "70b3d57ed0000001,70B3D57ED0000001,00112233445566778899aabbccddeeff\n"   // 3: its repeat
                        "70B3D57ED0000002,70B3D57ED0000001,00112233445566778899AABBCCDDEEFF\n"   // 4: clashes with 5
                        "70B3D57ED0000002,70B3D57ED0000001,FF112233445566778899AABBCCDDEEFF\n"   // 5
                        "70B3D57ED0000003,70B3D57ED0000001,00112233445566778899AABBCCDDEEFF" + abp   // 6
                   + "70B3D57ED0000004,70B3D57ED0000001,00112233445566778899AABBCCDDEEFF" + abp.toLower()   // 7
            << "" << QStringList{"70B3D57ED0000001", appEui, appKey, ""} << QList<int>{2, 6}
            << QList<int>{3, 4, 5, 7}
            << QStringList{"повтор строки 2", "DevEUI есть и в строке 5, с другими ключами",
                           "DevEUI есть и в строке 4, с другими ключами", "DevAddr уже у строки 6"};

        unusable("header without AppKey", "DevEUI;JoinEUI;name\n1;2;3\n", "В заголовке нет столбца AppKey");
        unusable("column named twice", "dev_eui,DevEUI,AppEUI,AppKey\n", "Столбец DevEUI назван в заголовке дважды");
        unusable("header only", "DevEUI,AppEUI,AppKey\r\n,,\r\n", "В файле нет ни одной строки с ключами");
    }

    void readsAndChecksSheets()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QList<int>, good);
        QFETCH(QList<int>, rejected);
        const KeySheet sheet = CKeySheetReader::read(bytes);
        QTEST(sheet.error, "error");
        const SheetCheck check = CKeySheetChecker::check(sheet);
        const KeySheetRow first = check.good.value(0);   // line 0 when no row is good
        QList<int> goodLines, rejectedLines;
        QStringList reasons;
        for (const KeySheetRow& row : check.good)
            goodLines << row.line;
        for (const RejectedRow& row : check.rejected) {
            rejectedLines << row.line;
            reasons << row.reason;
        }
        QTEST(first.line ? QStringList({first.devEui, first.appEui, first.appKey, first.name}) : QStringList(),
              "first");
        QCOMPARE(goodLines, good);   // QCOMPARE, not QTEST: only it names the line that differs
        QCOMPARE(rejectedLines, rejected);
        QTEST(reasons, "reasons");
    }

    // The sheet of keySheet(), with the server answering the first `answered`
    // rows at once and holding the rest: run to its end, or stopped.
    void importsASheet_data()
    {
        QTest::addColumn<int>("answered");
        QTest::addColumn<int>("sent");
        QTest::addColumn<CImportSession::Stop>("stop");
        QTest::addColumn<QString>("notSentText");   // the report's for the rows not sent
        using Stop = CImportSession::Stop;
        QTest::addRow("to the end") << 40 << 40 << Stop::None << "";
        QTest::addRow("cancelled") << 20 << 36 << Stop::Cancelled << "Не отправлено: импорт отменён";
        QTest::addRow("connection lost") << 20 << 36 << Stop::ConnectionLost
                                         << "Не отправлено: соединение с сервером потеряно";
        QTest::addRow("devices file unwritable") << 1 << 1 << Stop::DevicesFileFailed
                                                 << "Не отправлено: файл устройств не записывается";
    }

    // Every good row goes out once and no bad row does; the report holds the
    // server's verdict on each, or why there is none.
    void importsASheet()
    {
        // Row 3 is held with other keys. Row 12's answer names no device: it is
        // the oldest request's, as answers keep the order of the requests.
        const auto statusOf = [](int i) {
            return i == 3    ? PK::Status::reginfoAlreadyExist
                   : i == 12 ? PK::Status::nothingToUpdate
                             : PK::Status::added;
        };
        using Stop = CImportSession::Stop;
        QFETCH(int, answered);
        QFETCH(int, sent);
        QFETCH(Stop, stop);
        QVERIFY(m_server.loginClient(CServerClient::instance()));
        QHash<QString, QString> names;
        m_server.setAutoReply(PK::manageDevicesReq, [&](const QJsonObject& request) {
            const QString devEui = request.value(PK::devicesList)[0][PK::devEui].toString().toUpper();
            names.insert(devEui, request.value(PK::devicesList)[0][PK::devName].toString());
            const int row = devEui.right(8).toInt(nullptr, 16);
            if (row >= answered)
                return QList<QJsonObject>();
            return QList<QJsonObject>{verdict(statusOf(row), row == 12 ? QString() : devEui.toLower())};
        });
        const auto noReplies = qScopeGuard([this] { m_server.clearAutoReplies(); });
        QTemporaryDir dir;
        currentDevicesFileName = dir.filePath(QStringLiteral("Devices.txt"));   // the report goes beside it
        ModalAnswerer boxes;   // about the devices file: once, not once per row
        if (stop == Stop::DevicesFileFailed) {
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Devices.txt")));   // a folder
            for (int i = 0; i < 40; ++i)   // enough for a box per row, so that a fault shows as a count
                boxes.answer(QMessageBox::Ok);
        }
        const QString reportName = stop == Stop::Cancelled ? "sheet-report-2.csv" : "sheet-report.csv";
        if (stop == Stop::Cancelled)   // an earlier report of the sheet is kept: this one takes the next name
            QVERIFY(QFile(dir.filePath("sheet-report.csv")).open(QIODevice::WriteOnly));
        QFile sheet(dir.filePath(QStringLiteral("sheet.csv")));
        QVERIFY(sheet.open(QIODevice::WriteOnly));
        QVERIFY(sheet.write(keySheet()) > 0);
        sheet.close();
        CIAboutDevice workspace;
        workspace.statusCon({true});
        TestHelpers::child<QLineEdit>(&workspace, "nameEdit")->setText(QStringLiteral("%deveui-imp"));
        m_server.clearMessages();

        workspace.importSheet(sheet.fileName());
        auto* import = workspace.findChild<CKeySheetImport*>();
        auto* rejected = TestHelpers::child<QTableWidget>(import->checkDialog(), "rejectedTable");
        QCOMPARE(rejected->item(1, 0)->text(), QStringLiteral("43"));   // the last of the two
        import->checkDialog()->sendButton()->click();
        QTRY_VERIFY(import->session());
        QTRY_COMPARE(import->session()->answeredCount(), answered);
        QCOMPARE(import->session()->sentCount(), sent);   // never more than 16 unanswered

        if (stop == Stop::Cancelled) {
            // The answers still due are counted until the operator stops waiting for them.
            auto* action = TestHelpers::child<QPushButton>(import->progressDialog(), "actionButton");
            action->click();
            m_server.send(verdict(PK::Status::nothingToUpdate, euiOf(35)));   // the newest of those in flight
            QTRY_COMPARE(import->session()->answeredCount(), answered + 1);
            action->click();
        } else if (stop == Stop::ConnectionLost) {
            m_server.dropClient();
        }
        QTRY_COMPARE(import->reportPath(), dir.filePath(reportName));   // once the import is over
        QCOMPARE(boxes.answered(), int(stop == Stop::DevicesFileFailed));
        QVERIFY(!names.contains(QStringLiteral("70B3D5AAFFFFFFFF")));   // a bad row never goes out
        for (int i = 0; i < answered; ++i)
            QCOMPARE(names.value(euiOf(i)), i == 10 ? QStringLiteral("Pump 10") : sheetEui(i) + "-imp");
        // No lookup per device; the counts once, at the end, while connected.
        QTRY_COMPARE(m_server.received(PK::serverInfoReq).size(), int(stop != Stop::ConnectionLost));
        QCOMPARE(m_server.received(PK::getDevicesReq).size(), 0);

        QFETCH(QString, notSentText);
        const QVector<QStringList> report = reportRows(import->reportPath());
        QCOMPARE(report.size(), 42);
        for (int i = 0; i < 40; ++i) {
            const bool late = i == 35 && stop == Stop::Cancelled;   // answered after Cancel
            const QString verdict = i < answered ? statusOf(i)
                                    : late       ? PK::Status::nothingToUpdate
                                    : i < sent   ? CImportReport::noAnswerWord
                                                 : CImportReport::notSentWord;
            QCOMPARE(report.at(i).value(0), QString::number(i + 2));
            QCOMPARE(report.at(i).value(1).toUpper(), euiOf(i));
            QCOMPARE(report.at(i).value(2), verdict);
            if (verdict != CImportReport::noAnswerWord)
                QCOMPARE(report.at(i).value(3), i < sent ? CIAboutDevice::operatorText(verdict) : notSentText);
        }
        QCOMPARE(report.at(40).value(2), CImportReport::rejectedWord);
        QCOMPARE(report.at(41).value(2), CImportReport::rejectedWord);
    }
};

QTEST_MAIN(TestImport)
#include "tst_import.moc"
