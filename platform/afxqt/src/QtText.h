// Text between the model (code page 936 bytes) and Qt (UTF-16), and the dialog font. Private to afxqt.
#pragma once

#include <QFont>
#include <QString>
#include <string>

namespace afxqt {

QString FromGbk(const std::string& gbk);
std::string ToGbk(const QString& text);
// A caption without the '&' that marks a mnemonic ("&&" stays one '&').
QString WithoutMnemonic(const QString& text);
// A caption with '&' kept for a button's mnemonic.
QString ButtonCaption(const std::string& gbk);
// The position in the QString of a byte offset into the GBK text, and back.
int CharIndexOfByte(const std::string& gbk, int byteOffset);
int ByteOfCharIndex(const QString& text, int charIndex);
// 宋体 at the pixel height the model's dialog units assume (9 points at 96 dpi), through the drawing
// stand-in's face table, so the widgets use the font the model measures with.
QFont DialogFont();

}  // namespace afxqt
