#include "MessageCapture.h"

namespace {

// A handler installed later (the end-to-end rig's) may still hand lines on to
// this one after the capture has ended.
bool capturing = false;
QStringList captured;
QtMessageHandler previousHandler = nullptr;

void handler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (capturing)
        captured.append(message);
    if (previousHandler && qEnvironmentVariableIsSet("TESMAR_TEST_VERBOSE"))
        previousHandler(type, context, message);
}

} // namespace

MessageCapture::MessageCapture()
{
    captured.clear();
    capturing = true;
    previousHandler = qInstallMessageHandler(handler);
}

MessageCapture::~MessageCapture()
{
    qInstallMessageHandler(previousHandler);
    capturing = false;
}

const QStringList& MessageCapture::lines() const { return captured; }
