#include "app/FormStyle.h"

#include <QFontDatabase>
#include <QPalette>
#include <QStringList>
#include <QWidget>

void InstallFontSubstitutes()
{
    const QString family = QString::fromUtf8(FormFontFamily);
    if (QFontDatabase::families().contains(family))
        return;
    QFont::insertSubstitutions(family, {QStringLiteral("AR PL UMing CN"), QStringLiteral("AR PL UMing TW"),
                                        QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Noto Sans CJK SC"),
                                        QStringLiteral("WenQuanYi Zen Hei")});
}

QFont FormFont()
{
    QFont font(QString::fromUtf8(FormFontFamily));
    font.setPixelSize(FormFontPixelSize);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

QSize ClientSizeOfFrame(int frameWidth, int frameHeight)
{
    return QSize(frameWidth - 2 * FrameBorderWidth, frameHeight - 2 * FrameBorderWidth - FrameCaptionHeight);
}

void ApplyFormStyle(QWidget& form)
{
    form.setFont(FormFont());
    QPalette palette = form.palette();
    const QColor face = ToQColor(clBtnFace);
    const QColor text = ToQColor(clWindowText);
    palette.setColor(QPalette::Window, face);
    palette.setColor(QPalette::Button, face);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::ButtonText, ToQColor(clBtnText));
    form.setPalette(palette);
    form.setAutoFillBackground(true);
}
