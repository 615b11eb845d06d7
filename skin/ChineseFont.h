#pragma once

#include <QFont>
#include <QString>

// The face the program's Chinese texts are drawn in, chosen by name: Noto Sans CJK SC or
// WenQuanYi Micro Hei (the package brings one of them), else the face the font configuration
// names for Simplified Chinese. Left to Qt's own fallback, Han characters take a Japanese face
// on a desktop set to another language, or none at all where no font has them.
namespace ChineseFont {

// The family, looked up once; empty when no installed font covers Simplified Chinese.
QString family();
// `font` with the Chinese family after its own face, so that Latin text keeps that face and
// Chinese characters take the Chinese one.
QFont withChinese(QFont font);

} // namespace ChineseFont
