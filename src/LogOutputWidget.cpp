#include "LogOutputWidget.h"

#include "SingleInstance.h"

#include <QDateTime>
#include <QGridLayout>
#include <QPlainTextEdit>

#include <utility>

namespace {
SingleInstance<LogOutputWidget> pane;
}

LogOutputWidget::LogOutputWidget(QWidget* parent)
    : QWidget(parent)
    , m_view(new QPlainTextEdit(this))
{
    m_view->setReadOnly(true);
    auto* layout = new QGridLayout(this);
    layout->addWidget(m_view, 0, 0);
}

LogOutputWidget* LogOutputWidget::instance(QWidget* parent)
{
    return pane.get([parent] { return new LogOutputWidget(parent); });
}

void LogOutputWidget::appendMessage(QString text, QString color)
{
    const QString time = QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
    m_pending.append(QStringLiteral("<font color=\"%1\">[%2] %3</font><br>").arg(color, time, text));
    // Laying a line out costs more than most work it reports on, and the pane
    // is hidden: lines go into the view once it is shown or read.
    if (m_pending.size() == 1 && isVisible())
        QMetaObject::invokeMethod(this, &LogOutputWidget::showPending, Qt::QueuedConnection);
}

void LogOutputWidget::showEvent(QShowEvent* event)
{
    showPending();
    QWidget::showEvent(event);
}

void LogOutputWidget::showPending() const
{
    if (m_pending.isEmpty())
        return;
    const QStringList lines = std::exchange(m_pending, {});
    for (const QString& line : lines)
        m_view->appendHtml(line);
    m_view->moveCursor(QTextCursor::End);
}

QString LogOutputWidget::plainText() const
{
    showPending();
    return m_view->toPlainText();
}

QString LogOutputWidget::html() const
{
    showPending();
    return m_view->document()->toHtml();
}
