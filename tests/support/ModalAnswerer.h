#pragma once

#include <QMessageBox>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <functional>

// Answers the modal message boxes that the code under test opens, in the
// order the answers were queued, and remembers what each box said. The boxes
// stay real modal boxes: the answer is clicked from inside their event loop.
//
//   ModalAnswerer boxes;
//   boxes.answer(QMessageBox::Ok);
//   widget.deleteDevice(0);            // the confirmation is answered with OK
//   QCOMPARE(boxes.texts().value(0), expectedText);
class ModalAnswerer : public QObject
{
public:
    using Hook = std::function<void(QMessageBox*)>;

    explicit ModalAnswerer(QObject* parent = nullptr);

    // The hook runs while the box is open, just before the button is clicked.
    void answer(QMessageBox::StandardButton button, Hook beforeAnswer = Hook());

    int pending() const { return m_answers.size(); }
    int answered() const { return m_texts.size(); }
    QStringList texts() const { return m_texts; }
    QStringList titles() const { return m_titles; }
    // The default button of each answered box (NoButton when it had none).
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
    QStringList m_titles;
    QList<QMessageBox::StandardButton> m_defaults;
    QTimer m_timer;
};
