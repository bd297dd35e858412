#pragma once

class QBoxLayout;
class QHBoxLayout;
class QVBoxLayout;

// Inner rows and columns with the program's standard margin 1 and spacing 2.
// With a parent layout the new one is added to it (stretch 0); without, a
// diagnostic line is written and the caller owns the returned layout.
namespace WIDGET {
QHBoxLayout* prepareInnerHLayout(QBoxLayout* parent);
QVBoxLayout* prepareInnerVLayout(QBoxLayout* parent);
} // namespace WIDGET
