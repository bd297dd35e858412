#include "WidgetLayouts.h"

#include "Diagnostics.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

template <typename Layout>
Layout* prepareInner(QBoxLayout* parent)
{
    auto* layout = new Layout;
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(2);
    if (parent)
        parent->addLayout(layout, 0);
    return layout;
}

} // namespace

QHBoxLayout* WIDGET::prepareInnerHLayout(QBoxLayout* parent)
{
    if (!parent)
        DIAG() << "Некорректный аргумент!";
    return prepareInner<QHBoxLayout>(parent);
}

QVBoxLayout* WIDGET::prepareInnerVLayout(QBoxLayout* parent)
{
    if (!parent)
        DIAG() << "Некорректный аргумент!";
    return prepareInner<QVBoxLayout>(parent);
}
