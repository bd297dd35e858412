#pragma once

#include <QStringList>
#include <QtGlobal>

// Collects every qDebug/qWarning line written while it lives (shown as well
// when TESMAR_TEST_VERBOSE is set). One at a time.
class MessageCapture
{
public:
    MessageCapture();
    ~MessageCapture();
    MessageCapture(const MessageCapture&) = delete;
    MessageCapture& operator=(const MessageCapture&) = delete;

    const QStringList& lines() const;
    bool contains(const QString& fragment) const { return count(fragment) > 0; }
    int count(const QString& fragment) const { return lines().filter(fragment).size(); }
};
