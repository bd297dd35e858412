#pragma once

#include <QMessageBox>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <functional>

// Answers the modal message boxes the code under test opens, from inside
// their event loop, in the order queued, and remembers what each box said.
class ModalAnswerer : public QObject
{
public:
    using Hook = std::function<void(QMessageBox*)>;

    explicit ModalAnswerer(QObject* parent = nullptr);

    // The hook runs while the box is open, just before the button is clicked.
    void answer(QMessageBox::StandardButton button, Hook beforeAnswer = Hook());

    int answered() const { return m_texts.size(); }
    QStringList texts() const { return m_texts; }
    QList<QMessageBox::StandardButton> defaults() const { return m_defaults; }

private:
    void poll();

    struct Answer
    {
        QMessageBox::StandardButton button;
        Hook hook;
    };
    QList<Answer> m_answers;
    QStringList m_texts;
    QList<QMessageBox::StandardButton> m_defaults;
    QTimer m_timer;
};
