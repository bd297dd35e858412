#include "CAbstatractSettingsField.h"
#include "MessageCapture.h"
#include "WidgetLayouts.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalSpy>
#include <QtTest>

namespace {

// Opens the protected building blocks of the base to the tests.
class TestGroup : public CAbstatractSettingsField
{
public:
    explicit TestGroup(QWidget* parent) : CAbstatractSettingsField(parent) {}
    using CAbstatractSettingsField::appendWidget;
    int childCount() const { return childGroups.size(); }
    bool childAlive(int i) const { return !childGroups.at(i).isNull(); }
};

QCheckBox* checkOf(CAbstatractSettingsField* group)
{
    return group->findChild<QCheckBox*>(QStringLiteral("expandCheck"), Qt::FindDirectChildrenOnly);
}

QGroupBox* boxOf(CAbstatractSettingsField* group)
{
    return group->findChild<QGroupBox*>(QStringLiteral("groupBox"), Qt::FindDirectChildrenOnly);
}

bool collapsed(CAbstatractSettingsField* group)
{
    return !checkOf(group)->isHidden() && !checkOf(group)->isChecked()
        && boxOf(group)->isHidden() && !boxOf(group)->isChecked() && !group->isExpanded();
}

bool expanded(CAbstatractSettingsField* group)
{
    return checkOf(group)->isHidden() && checkOf(group)->isChecked()
        && !boxOf(group)->isHidden() && boxOf(group)->isChecked() && group->isExpanded();
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
        QVERIFY(collapsed(&group));

        checkOf(&group)->setChecked(true);
        QVERIFY(expanded(&group));
        group.expand();
        QVERIFY(expanded(&group));

        boxOf(&group)->setChecked(false);
        QVERIFY(collapsed(&group));
        group.expand();
        QVERIFY(expanded(&group));
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
        top.appendWidget(middle);
        top.appendWidget(hidden);
        top.appendWidget(doomed);
        middle->appendWidget(leaf);
        hidden->hide();

        delete doomed;
        QCOMPARE(top.childCount(), 3);
        QVERIFY(!top.childAlive(2));

        top.expandAll();
        for (CAbstatractSettingsField* group : {static_cast<CAbstatractSettingsField*>(&top),
                                                static_cast<CAbstatractSettingsField*>(middle),
                                                static_cast<CAbstatractSettingsField*>(leaf),
                                                static_cast<CAbstatractSettingsField*>(hidden)})
            QVERIFY(expanded(group));
        QVERIFY(hidden->isHidden());  // expanded, yet hidden until its owner shows it
    }

    void plainWidgetIsLaidOutButNotAGroup()
    {
        QWidget host;
        TestGroup group(&host);
        auto* label = new QLabel(QStringLiteral("plain"), &host);
        group.appendWidget(label);
        QCOMPARE(group.childCount(), 0);
        QCOMPARE(label->parentWidget(), boxOf(&group));
    }

    void innerLayoutWithoutParent()
    {
        MessageCapture capture;
        QHBoxLayout* row = WIDGET::prepareInnerHLayout(nullptr);
        QVERIFY(row);
        QCOMPARE(row->contentsMargins(), QMargins(1, 1, 1, 1));
        QCOMPARE(row->spacing(), 2);
        QCOMPARE(capture.count(QStringLiteral("Некорректный аргумент!")), 1);
        delete row;  // unattached: the caller owns it

        QVBoxLayout column;
        capture.clear();
        QHBoxLayout* attached = WIDGET::prepareInnerHLayout(&column);
        QCOMPARE(attached->parent(), &column);
        QCOMPARE(capture.count(QStringLiteral("Некорректный аргумент!")), 0);
    }
};

QTEST_MAIN(TestSettingsBase)
#include "tst_settingsbase.moc"
