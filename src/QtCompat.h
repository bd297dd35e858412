#pragma once

// Where Qt 6 changed an API or a behaviour this program relies on, the
// difference is settled here, once, so that the classes read the same and
// behave the same with either Qt.
//
// Looked at and needing nothing:
// - JSON numbers: Qt 6 keeps whole numbers as 64-bit integers where Qt 5 kept
//   doubles. Numbers are read only through toInt() and toDouble(), which give
//   the same results from both, and written from int, qint64 or double, which
//   serialise to the same text.
// - Regular expressions: only QRegularExpression is used (QRegExp left Qt 6's
//   core); QSerialPort's error signal is errorOccurred in both.

#include <QAbstractSocket>
#include <QByteArray>
#include <QGuiApplication>
#include <QSettings>
#include <QTextStream>
#include <QWebSocket>
#include <QtGlobal>

#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
#include <QTextCodec>
#else
#include <QStringDecoder>
#endif

namespace QtCompat {

// Qt 6 always scales the window to the screen's scale factor, fractions
// included. Qt 5 is told to do the same, so a 150 % workbench screen shows the
// same window with either. Call before the application object exists.
inline void scaleForHighDpi()
{
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
#endif
}

// The socket error signal of QWebSocket is "error" (overloaded with the
// getter) up to Qt 6.4 and "errorOccurred" from Qt 6.5.
inline auto webSocketErrorSignal()
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    return &QWebSocket::errorOccurred;
#else
    return QOverload<QAbstractSocket::SocketError>::of(&QWebSocket::error);
#endif
}

// Qt 5 text streams write the locale's encoding unless told otherwise; Qt 6
// streams write UTF-8.
inline void useUtf8(QTextStream& stream)
{
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    stream.setCodec("UTF-8");
#else
    stream.setEncoding(QStringConverter::Utf8);
#endif
}

// Qt 6 writes INI files in UTF-8 and has no other choice; Qt 5 wrote "\x"
// escapes and read raw UTF-8 as Latin-1. Qt 5 is told to use UTF-8 as well,
// so a file written by either reads the same in the other. Both still read
// the escaped form.
inline void useUtf8(QSettings& settings)
{
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    settings.setIniCodec("UTF-8");
#else
    Q_UNUSED(settings)
#endif
}

// Text of a file that may carry a byte-order mark: UTF-16 or UTF-8 as the
// mark says, UTF-8 without one; the mark itself is not part of the text.
// Qt 6 left QTextCodec for QStringDecoder.
inline QString decodeUnicodeText(const QByteArray& bytes)
{
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    QString text = QTextCodec::codecForUtfText(bytes, QTextCodec::codecForName("UTF-8"))->toUnicode(bytes);
#else
    QStringDecoder decoder(QStringConverter::encodingForData(bytes).value_or(QStringConverter::Utf8));
    QString text = decoder.decode(bytes);
#endif
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

} // namespace QtCompat
