#include "CImportProgressDialog.h"

#include "ProtocolKeys.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {
const QString redText = QStringLiteral("color: rgb(255,0,0)");
const QString blackText = QStringLiteral("color: rgb(0,0,0)");
constexpr int refreshMs = 100;
} // namespace

CImportProgressDialog::CImportProgressDialog(CImportSession* session, int rejectedRows, QWidget* parent)
    : QDialog(parent)
    , m_session(session)
    , m_rejectedRows(rejectedRows)
{
    setWindowTitle(tr("Импорт из файла"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setMinimumWidth(520);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(3, 3, 3, 3);
    layout->setSpacing(2);

    const auto addLabel = [this, layout](const char* name) {
        auto* label = new QLabel(this);
        label->setObjectName(QLatin1String(name));
        label->setWordWrap(true);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(label);
        return label;
    };
    m_progressLabel = addLabel("progressLabel");
    m_progressBar = new QProgressBar(this);
    m_progressBar->setObjectName(QStringLiteral("progressBar"));
    m_progressBar->setRange(0, qMax(1, session->total()));
    layout->addWidget(m_progressBar);
    m_countsLabel = addLabel("countsLabel");
    m_countsLabel->setWordWrap(false);   // one verdict a line, never broken
    m_stateLabel = addLabel("stateLabel");
    m_stateLabel->hide();
    m_reportLabel = addLabel("reportLabel");
    m_reportLabel->hide();

    layout->addStretch(1);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    m_actionButton = new QPushButton(tr("Отмена"), this);
    m_actionButton->setObjectName(QStringLiteral("actionButton"));
    buttonRow->addWidget(m_actionButton);
    layout->addLayout(buttonRow);

    m_refreshTimer.setSingleShot(true);
    m_refreshTimer.setInterval(refreshMs);
    connect(&m_refreshTimer, &QTimer::timeout, this, &CImportProgressDialog::refresh);
    connect(session, &CImportSession::progressed, this, [this] {
        if (!m_refreshTimer.isActive())
            m_refreshTimer.start();
    });
    connect(session, &CImportSession::finished, this, &CImportProgressDialog::refresh);
    connect(m_actionButton, &QPushButton::clicked, this, &CImportProgressDialog::onAction);
    refresh();
}

QStringList CImportProgressDialog::countLines(const QMap<QString, int>& counts)
{
    namespace S = ProtocolKeys::Status;
    QStringList lines = {
        tr("Добавлено: %1").arg(counts.value(S::added)),
        tr("Обновлено: %1").arg(counts.value(S::updated)),
        tr("Без изменений: %1").arg(counts.value(S::nothingToUpdate)),
    };
    // The other words by how often they came, then by name.
    QVector<QPair<QString, int>> others;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.key() != S::added && it.key() != S::updated && it.key() != S::nothingToUpdate)
            others.append({it.key(), it.value()});
    }
    std::stable_sort(others.begin(), others.end(),
                     [](const QPair<QString, int>& a, const QPair<QString, int>& b) { return a.second > b.second; });
    for (const auto& other : others)
        lines << QStringLiteral("%1: %2").arg(other.first.isEmpty() ? QStringLiteral("\"\"") : other.first)
                     .arg(other.second);
    return lines;
}

void CImportProgressDialog::refresh()
{
    m_refreshTimer.stop();
    if (!m_session)
        return;
    const CImportSession& session = *m_session;
    m_countsLabel->setText(countLines(session.verdictCounts()).join(QLatin1Char('\n')));
    m_progressBar->setValue(session.answeredCount());

    if (!session.isFinished()) {
        m_progressLabel->setText(tr("Отправлено %1 из %2, получено ответов: %3")
                                     .arg(session.sentCount()).arg(session.total()).arg(session.answeredCount()));
        if (!session.isSending()) {
            m_stateLabel->setText(tr("Отправка остановлена, ждём ответов: %1").arg(session.inFlightCount()));
            m_stateLabel->show();
        }
        return;
    }

    setWindowTitle(session.stopReason() == CImportSession::Stop::None ? tr("Импорт завершён")
                                                                       : tr("Импорт остановлен"));
    m_progressLabel->setText(tr("Строк в файле: %1; отклонено при проверке: %2; отправлено: %3 из %4; "
                                "получено ответов: %5")
                                 .arg(session.total() + m_rejectedRows).arg(m_rejectedRows)
                                 .arg(session.sentCount()).arg(session.total()).arg(session.answeredCount()));
    const int notSent = session.total() - session.sentCount();
    const int unanswered = session.sentCount() - session.answeredCount();
    QString state;
    switch (session.stopReason()) {
    case CImportSession::Stop::None:
        break;
    case CImportSession::Stop::Cancelled:
        state = tr("Импорт отменён: не отправлено %1, без ответа %2").arg(notSent).arg(unanswered);
        break;
    case CImportSession::Stop::ConnectionLost:
        state = tr("Соединение с сервером потеряно: отправлено %1, получено ответов %2; не отправлено %3")
                    .arg(session.sentCount()).arg(session.answeredCount()).arg(notSent);
        break;
    case CImportSession::Stop::NotConnected:
        state = tr("Нет подключения к серверу: ничего не отправлено");
        break;
    case CImportSession::Stop::DevicesFileFailed:
        state = tr("Файл устройств не записывается: импорт остановлен, не отправлено %1").arg(notSent);
        break;
    }
    m_stateLabel->setText(state);
    m_stateLabel->setStyleSheet(redText);
    m_stateLabel->setVisible(!state.isEmpty());
    m_actionButton->setText(tr("Закрыть"));
    adjustSize();
}

void CImportProgressDialog::showSummary(const QString& reportPath, const QString& reportError)
{
    refresh();
    if (reportError.isEmpty()) {
        m_reportLabel->setText(tr("Отчёт: %1").arg(reportPath));
        m_reportLabel->setStyleSheet(blackText);
    } else {
        m_reportLabel->setText(tr("Отчёт не записан в %1: %2").arg(reportPath, reportError));
        m_reportLabel->setStyleSheet(redText);
    }
    m_reportLabel->show();
    // The summary has more lines than the progress had.
    adjustSize();
}

void CImportProgressDialog::onAction()
{
    if (!m_session || m_session->isFinished()) {
        QDialog::reject();
        return;
    }
    if (m_session->isSending()) {
        m_session->cancel();
        if (!m_session->isFinished())
            m_actionButton->setText(tr("Не ждать ответов"));
    } else {
        m_session->stopWaiting();
    }
    refresh();
}

void CImportProgressDialog::reject()
{
    // Escape or the window's close button while it runs: the same steps as the button.
    if (m_session && !m_session->isFinished())
        onAction();
    else
        QDialog::reject();
}
