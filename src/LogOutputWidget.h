#pragma once

#include <QStringList>
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

protected:
    void showEvent(QShowEvent* event) override;

private:
    explicit LogOutputWidget(QWidget* parent);
    void showPending() const;

    QPlainTextEdit* m_view = nullptr;
    // Lines not yet in the view: they are added once the current work is
    // done, so that a line never delays the request it reports on, and only
    // while the pane is shown or when its text is read.
    mutable QStringList m_pending;
};
