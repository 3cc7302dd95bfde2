#include "QtText.h"

#include <QFontDatabase>
#include <QStringList>

#include "win32/codepage.h"
#include "win32/gdirecord.h"

namespace afxqt {

QString FromGbk(const std::string& gbk) { return QString::fromStdString(win32::GbkToUtf8(gbk)); }

std::string ToGbk(const QString& text) { return win32::Utf8ToGbk(text.toStdString()); }

QString WithoutMnemonic(const QString& text) {
    QString r;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&')) {
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('&')) r += text[++i];
            continue;
        }
        r += text[i];
    }
    return r;
}

QString ButtonCaption(const std::string& gbk) { return FromGbk(gbk); }

int CharIndexOfByte(const std::string& gbk, int byteOffset) {
    if (byteOffset <= 0) return 0;
    size_t n = std::min(static_cast<size_t>(byteOffset), gbk.size());
    return static_cast<int>(FromGbk(gbk.substr(0, n)).size());
}

int ByteOfCharIndex(const QString& text, int charIndex) {
    if (charIndex <= 0) return 0;
    return static_cast<int>(ToGbk(text.left(charIndex)).size());
}

QFont DialogFont() {
    static QFont font = [] {
        QFont f;
        const std::string file = win32::ResolveFaceFile("宋体");
        if (!file.empty()) {
            int id = QFontDatabase::addApplicationFont(QString::fromStdString(file));
            QStringList families = id >= 0 ? QFontDatabase::applicationFontFamilies(id) : QStringList();
            if (!families.isEmpty()) f = QFont(families.front());
        }
        // 9 points at 96 dpi, the size the dialog units are reckoned in.
        f.setPixelSize(12);
        return f;
    }();
    return font;
}

}  // namespace afxqt
