#include "FuzzSupport.h"

#include "CSettings.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QTemporaryDir>

#include <cstdio>

namespace FuzzSupport {

namespace {

bool verbose = false;

void quietHandler(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    // Fatal messages abort right after this; they are the finding's explanation.
    if (verbose || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(text));
}

QTemporaryDir& scratchDir()
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/tesmar-fuzz-XXXXXX"));
    return dir;
}

} // namespace

void startApplication()
{
    if (QCoreApplication::instance())
        return;
    verbose = qEnvironmentVariableIntValue("TESMAR_FUZZ_VERBOSE") != 0;
    qInstallMessageHandler(quietHandler);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    // Lives for the whole process: libFuzzer leaves through exit(), and Qt
    // must not be torn down from a static destructor.
    static int argc = 1;
    static char name[] = "tesmar-fuzz";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);

    // The program's files go to a scratch directory. The working directory
    // itself stays: libFuzzer reads corpora and writes findings relative to it.
    if (!scratchDir().isValid())
        qFatal("fuzz: no scratch directory");
    const QString previous = QDir::currentPath();
    QDir::setCurrent(scratchDir().path());
    CSettings::instance(app);  // keeps the absolute path of "settings.cfg"
    QDir::setCurrent(previous);
    const QDir scratch(scratchDir().path());
    currentDevicesFileName = scratch.absoluteFilePath(currentDevicesFileName);
    currentRequestsFileName = scratch.absoluteFilePath(currentRequestsFileName);
    currentResponsesFileName = scratch.absoluteFilePath(currentResponsesFileName);
}

QByteArray bytes(const std::uint8_t* data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), int(size));
}

QStringList messages(const QByteArray& input)
{
    QStringList result;
    for (const QByteArray& line : input.split('\n'))
        result << QString::fromUtf8(line);
    return result;
}

void settle()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace FuzzSupport
