#include "ModalAnswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>

ModalAnswerer::ModalAnswerer(QObject* parent)
    : QObject(parent)
{
    connect(&m_timer, &QTimer::timeout, this, &ModalAnswerer::poll);
    m_timer.start(10);
}

void ModalAnswerer::answer(QMessageBox::StandardButton button, Hook beforeAnswer)
{
    m_answers.append({button, std::move(beforeAnswer)});
}

void ModalAnswerer::poll()
{
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible() || m_answers.isEmpty())
        return;
    const Answer next = m_answers.takeFirst();
    m_texts.append(box->text());
    m_defaults.append(box->standardButton(box->defaultButton()));   // NoButton when there is none

    m_timer.stop();   // a hook may spin the event loop: no second answer meanwhile
    if (next.hook)
        next.hook(box);
    if (QAbstractButton* button = box->button(next.button))
        button->click();
    else
        box->reject();
    m_timer.start();
}
