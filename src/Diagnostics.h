#pragma once

#include <QDebug>
#include <QString>

// Every developer-facing trace line starts with the same frame:
//   { <full signature> }[ <line> ] -  <items...>
// Write it as  DIAG() << "text" << value;
#define DIAG() qDebug() << "{" << Q_FUNC_INFO << "}[" << __LINE__ << "] - "

namespace Diagnostics {

// Secrets never reach the debug stream in clear: same length, every character hidden.
inline QString masked(const QString& secret)
{
    return QString(secret.size(), QLatin1Char('*'));
}

} // namespace Diagnostics
