#include "MessageCapture.h"

namespace {
MessageCapture* active = nullptr;
QStringList captured;
QtMessageHandler previousHandler = nullptr;
} // namespace

MessageCapture::MessageCapture()
{
    captured.clear();
    active = this;
    m_previous = qInstallMessageHandler(&MessageCapture::handler);
    previousHandler = m_previous;
}

MessageCapture::~MessageCapture()
{
    qInstallMessageHandler(m_previous);
    active = nullptr;
}

void MessageCapture::handler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (active)
        captured.append(message);
    if (previousHandler && qEnvironmentVariableIsSet("TESMAR_TEST_VERBOSE"))
        previousHandler(type, context, message);
}

const QStringList& MessageCapture::lines() const
{
    return captured;
}

bool MessageCapture::contains(const QString& fragment) const
{
    return count(fragment) > 0;
}

int MessageCapture::count(const QString& fragment) const
{
    int n = 0;
    for (const QString& line : captured)
        n += line.contains(fragment) ? 1 : 0;
    return n;
}

void MessageCapture::clear()
{
    captured.clear();
}
