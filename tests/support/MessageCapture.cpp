#include "MessageCapture.h"

namespace {
bool capturing = false;
QStringList captured;
QtMessageHandler previousHandler = nullptr;
} // namespace

MessageCapture::MessageCapture()
{
    captured.clear();
    capturing = true;
    m_previous = previousHandler = qInstallMessageHandler(&MessageCapture::handler);
}

MessageCapture::~MessageCapture()
{
    qInstallMessageHandler(m_previous);
    capturing = false;
}

void MessageCapture::handler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (capturing)
        captured.append(message);
    if (previousHandler && qEnvironmentVariableIsSet("TESMAR_TEST_VERBOSE"))
        previousHandler(type, context, message);
}

const QStringList& MessageCapture::lines() const { return captured; }
bool MessageCapture::contains(const QString& fragment) const { return count(fragment) > 0; }
int MessageCapture::count(const QString& fragment) const { return captured.filter(fragment).size(); }
void MessageCapture::clear() { captured.clear(); }
