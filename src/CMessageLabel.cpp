#include "CMessageLabel.h"

#include "StatusTexts.h"

#include <QFontMetrics>

namespace {
const QString scanErrorText = QStringLiteral("QR/Barcode reading error !!!");
} // namespace

CMessageLabel::CMessageLabel(int width, QWidget* parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    QFont pixelFont = font();
    pixelFont.setPixelSize(16);
    setFont(pixelFont);
    hide();
    QSizePolicy keepPlace = sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    setSizePolicy(keepPlace);

    // Tall enough for the longest text it shows.
    const QFontMetrics metrics(pixelFont);
    const QRect room(0, 0, width, 1000);
    int height = metrics.boundingRect(room, Qt::TextWordWrap, scanErrorText).height();
    for (const QString& text : StatusTexts::all())
        height = qMax(height, metrics.boundingRect(room, Qt::TextWordWrap, text).height());
    setFixedSize(width, height);
}

void CMessageLabel::showScanError()
{
    setText(scanErrorText);
    show();
}

void CMessageLabel::showVerdict(const QString& status)
{
    const QString text = StatusTexts::operatorText(status);
    if (text.isEmpty())
        return;
    show();
    setText(text);
}
