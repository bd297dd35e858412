#include "CAbstatractSettingsField.h"
#include "TestHelpers.h"

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

// Collapsed, only the unticked check box shows; expanded, only the ticked group box.
void compareShown(const CAbstatractSettingsField* group, bool open)
{
    const auto* check = group->findChild<QCheckBox*>(QStringLiteral("expandCheck"), Qt::FindDirectChildrenOnly);
    const auto* box = group->findChild<QGroupBox*>(QStringLiteral("groupBox"), Qt::FindDirectChildrenOnly);
    QCOMPARE(group->isExpanded(), open);
    QCOMPARE(check->isHidden(), open);
    QCOMPARE(check->isChecked(), open);
    QCOMPARE(box->isHidden(), !open);
    QCOMPARE(box->isChecked(), open);
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
        compareShown(&group, false);
        group.findChild<QCheckBox*>(QStringLiteral("expandCheck"))->setChecked(true);
        compareShown(&group, true);
        group.findChild<QGroupBox*>(QStringLiteral("groupBox"))->setChecked(false);
        compareShown(&group, false);
        group.expand();
        group.expand();   // twice: still open
        compareShown(&group, true);
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
        for (QWidget* child : QList<QWidget*>{middle, hidden, doomed, new QLabel(&host)})
            top.appendWidget(child);
        middle->appendWidget(leaf);
        hidden->hide();
        delete doomed;
        QCOMPARE(top.childCount(), 3);   // a plain widget is laid out, but is no group
        top.expandAll();
        for (TestGroup* group : {&top, middle, leaf, hidden})
            compareShown(group, true);
        QVERIFY(hidden->isHidden());   // expanded, yet hidden until its owner shows it
    }
};

QTEST_MAIN(TestSettingsBase)
#include "tst_settingsbase.moc"
