#pragma once

#include "CImportSession.h"

#include <QDialog>
#include <QPointer>
#include <QTimer>

class QLabel;
class QProgressBar;
class QPushButton;

// Follows a running import: n of N sent and answered, the verdicts so far,
// and one button that cancels the sending, then stops waiting for the
// answers still due, then closes. At the end it becomes the summary.
//
// Children by object name: "progressLabel", "progressBar", "countsLabel",
// "stateLabel", "reportLabel", "actionButton".
class CImportProgressDialog : public QDialog
{
    Q_OBJECT

public:
    CImportProgressDialog(CImportSession* session, int rejectedRows, QWidget* parent = nullptr);

    // The end: the summary, with where the report went (or why it did not).
    void showSummary(const QString& reportPath, const QString& reportError);

    // The verdicts as the summary lists them: the three that register or
    // keep a device first, then every other word with its count.
    static QStringList countLines(const QMap<QString, int>& counts);

public slots:
    void reject() override;

private:
    void refresh();
    void onAction();

    QPointer<CImportSession> m_session;
    int m_rejectedRows = 0;
    QTimer m_refreshTimer;   // a repaint per answer would cost more than the answer
    QLabel* m_progressLabel = nullptr;
    QProgressBar* m_progressBar = nullptr;
    QLabel* m_countsLabel = nullptr;
    QLabel* m_stateLabel = nullptr;
    QLabel* m_reportLabel = nullptr;
    QPushButton* m_actionButton = nullptr;
};
