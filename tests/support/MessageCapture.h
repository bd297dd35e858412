#pragma once

#include <QStringList>
#include <QtGlobal>

// Collects every qDebug/qWarning line written while it lives (shown as well
// when TESMAR_TEST_VERBOSE is set).
class MessageCapture
{
public:
    MessageCapture();
    ~MessageCapture();
    MessageCapture(const MessageCapture&) = delete;
    MessageCapture& operator=(const MessageCapture&) = delete;

    const QStringList& lines() const;
    bool contains(const QString& fragment) const;
    int count(const QString& fragment) const;
    void clear();

private:
    static void handler(QtMsgType type, const QMessageLogContext& context, const QString& message);
    QtMessageHandler m_previous = nullptr;
};
