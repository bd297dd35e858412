#pragma once

#include <QWidget>

class QPlainTextEdit;

// Collects the coloured, time-stamped lines about work done on devices.
// One process-wide pane; it stays hidden and keeps every line of the run.
class LogOutputWidget : public QWidget
{
    Q_OBJECT

public:
    static LogOutputWidget* instance(QWidget* parent = nullptr);

    QString plainText() const;
    QString html() const;

public slots:
    void appendMessage(QString text, QString color = QStringLiteral("black"));

private:
    explicit LogOutputWidget(QWidget* parent);

    QPlainTextEdit* m_view = nullptr;
};
