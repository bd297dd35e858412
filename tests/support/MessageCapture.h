#pragma once

#include <QStringList>

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
};
