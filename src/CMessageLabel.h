#pragma once

#include <QLabel>
#include <QString>

// The line above the keys: the scan error or the server's verdict in words.
// It keeps its place and size, shown or hidden and whatever it says, so the
// form under it stays put through every scan and verdict; a moving form also
// made the whole window repaint each time.
class CMessageLabel : public QLabel
{
    Q_OBJECT

public:
    explicit CMessageLabel(int width, QWidget* parent = nullptr);

    void showScanError();
    // A status word without an operator's text leaves the label as it was.
    void showVerdict(const QString& status);
};
