#include "CAbstatractSettingsField.h"
#include "MessageCapture.h"
#include "TestHelpers.h"
#include "WidgetLayouts.h"

#include <QtWidgets>

namespace {
// Opens the protected building blocks of the base to the tests.
class TestGroup : public CAbstatractSettingsField
{
public:
    explicit TestGroup(QWidget* parent) : CAbstatractSettingsField(parent) {}
    using CAbstatractSettingsField::appendWidget;
    int childCount() const { return childGroups.size(); }
};

QCheckBox* checkOf(QWidget* group) { return group->findChild<QCheckBox*>(QStringLiteral("expandCheck"), Qt::FindDirectChildrenOnly); }
QGroupBox* boxOf(QWidget* group) { return group->findChild<QGroupBox*>(QStringLiteral("groupBox"), Qt::FindDirectChildrenOnly); }

// Collapsed: the check box shows, unticked, the group box hides; expanded the other way round.
bool consistent(CAbstatractSettingsField* group)
{
    const bool open = group->isExpanded();
    return checkOf(group)->isHidden() == open && checkOf(group)->isChecked() == open
        && boxOf(group)->isHidden() == !open && boxOf(group)->isChecked() == open;
}
} // namespace

class TestSettingsBase : public QObject
{
    Q_OBJECT

private slots:
    void collapseAndExpandWithoutEdits()
    {
        QWidget host;
        TestGroup group(&host);
        QSignalSpy edits(&group, &CAbstatractSettingsField::edited);
        QVERIFY(!group.isExpanded() && consistent(&group));
        checkOf(&group)->setChecked(true);
        QVERIFY(group.isExpanded() && consistent(&group));
        boxOf(&group)->setChecked(false);
        QVERIFY(!group.isExpanded() && consistent(&group));
        group.expand();
        group.expand();   // twice: still open
        QVERIFY(group.isExpanded() && consistent(&group));
        QCOMPARE(edits.count(), 0);
    }

    void expandAllWalksNestingAndSkipsDeadGroups()
    {
        QWidget host;
        TestGroup top(&host);
        auto* middle = new TestGroup(&top);
        auto* leaf = new TestGroup(middle);
        auto* hidden = new TestGroup(&top);
        auto* doomed = new TestGroup(&top);
        auto* label = new QLabel(QStringLiteral("plain"), &host);
        for (QWidget* child : QList<QWidget*>{middle, hidden, doomed, label})
            top.appendWidget(child);
        middle->appendWidget(leaf);
        hidden->hide();
        delete doomed;
        QCOMPARE(top.childCount(), 3);   // a plain widget is laid out, but is no group
        QCOMPARE(label->parentWidget(), boxOf(&top));

        top.expandAll();
        for (TestGroup* group : {&top, middle, leaf, hidden})
            QVERIFY(group->isExpanded() && consistent(group));
        QVERIFY(hidden->isHidden());   // expanded, yet hidden until its owner shows it
    }

    void innerLayoutWithoutParent()
    {
        MessageCapture capture;
        std::unique_ptr<QHBoxLayout> row(WIDGET::prepareInnerHLayout(nullptr));   // unattached: the caller owns it
        QVBoxLayout column;
        QCOMPARE(WIDGET::prepareInnerHLayout(&column)->parent(), &column);
        QCOMPARE(capture.count(QStringLiteral("Некорректный аргумент!")), 1);
    }
};

QTEST_MAIN(TestSettingsBase)
#include "tst_settingsbase.moc"
