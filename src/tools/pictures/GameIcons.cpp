#include "tools/pictures/GameIcons.h"

#include "tools/pictures/NamedPictures.h"
#include "tools/pictures/PictureCanvas.h"
#include "tools/pictures/Pictograms.h"

#include <QRegularExpression>
#include <QStringList>

namespace velmora::tools {

namespace pg = pictogram;

namespace {

struct Keyword {
    QStringList words; // any of them inside the name selects the entry
    QPainterPath (*shape)();
    QColor colour;
};

// First match wins, so "fish_oil" is a fish and not oil.
const QList<Keyword>& keywords() {
    static const QList<Keyword> table = {
        {{QStringLiteral("fish"), QStringLiteral("seafood"), QStringLiteral("lobster"), QStringLiteral("calamari")}, pg::fish, QColor(0x2f, 0x7f, 0xc1)},
        {{QStringLiteral("wood"), QStringLiteral("log"), QStringLiteral("timber"), QStringLiteral("lumber"), QStringLiteral("plank")}, pg::log, QColor(0x9a, 0x64, 0x32)},
        {{QStringLiteral("grain"), QStringLiteral("wheat"), QStringLiteral("cereal"), QStringLiteral("corn"), QStringLiteral("flour"), QStringLiteral("malt")}, pg::wheat, QColor(0xc9, 0xa2, 0x27)},
        {{QStringLiteral("meat"), QStringLiteral("sausage"), QStringLiteral("beef"), QStringLiteral("pork"), QStringLiteral("venison")}, pg::ham, QColor(0xc0, 0x44, 0x3b)},
        {{QStringLiteral("oil")}, pg::drop, QColor(0x3b, 0x3f, 0x45)},
        {{QStringLiteral("coal")}, pg::lump, QColor(0x4a, 0x4f, 0x57)},
        {{QStringLiteral("gold")}, pg::ingot, QColor(0xd4, 0xa7, 0x2c)},
        {{QStringLiteral("iron"), QStringLiteral("steel")}, pg::ingot, QColor(0x6f, 0x83, 0x96)},
        {{QStringLiteral("money"), QStringLiteral("coin")}, pg::coin, QColor(0xd9, 0xa5, 0x20)},
        {{QStringLiteral("grape"), QStringLiteral("wine")}, pg::grapes, QColor(0x7d, 0x3f, 0x98)},
        {{QStringLiteral("brick"), QStringLiteral("clay")}, pg::bricks, QColor(0xb5, 0x54, 0x2f)},
        {{QStringLiteral("herb"), QStringLiteral("tea"), QStringLiteral("tobacco"), QStringLiteral("spice"), QStringLiteral("hops")}, pg::leaf, QColor(0x4f, 0x9a, 0x45)},
        {{QStringLiteral("orchid"), QStringLiteral("hibiscus"), QStringLiteral("flower")}, pg::flower, QColor(0xd9, 0x58, 0x9a)},
    };
    return table;
}

// The name without the "icon_" prefix, in lower case.
QString stemOf(const QString& name) {
    QString stem = name.toLower();
    if (stem.startsWith(u"icon_")) stem.remove(0, 5);
    return stem;
}

const Keyword* keywordOf(const QString& name) {
    const QString stem = stemOf(name);
    for (const Keyword& k : keywords())
        for (const QString& word : k.words)
            if (stem.contains(word)) return &k;
    return nullptr;
}

} // namespace

QString monogramOf(const QString& name) {
    QStringList words;
    static const QRegularExpression separators(QStringLiteral("[_\\s\\-]+"));
    for (const QString& w : stemOf(name).split(separators, Qt::SkipEmptyParts)) {
        if (!w.front().isLetter() || w == u"resource") continue;
        words.append(w);
    }
    if (words.isEmpty()) return QStringLiteral("?");
    QString letters = words[0].left(1).toUpper();
    if (words.size() > 1) letters += words[1].left(1).toUpper();
    else if (words[0].size() > 1) letters += words[0].mid(1, 1);
    return letters;
}

QImage renderGameIcon(const QString& name) {
    QImage image = transparentCanvas();
    QPainter p(&image);
    prepareSmooth(p);
    const QColor white(0xfb, 0xfb, 0xf8);
    if (const Keyword* k = keywordOf(name)) {
        // The hue moves a little with the name, so "icon_fish" and "icon_fish_2" differ.
        const QRectF content = drawTileBadge(p, nudgedColour(k->colour, name));
        drawOutlined(p, fitIn(k->shape(), content.adjusted(2, 2, -2, -2)), white, 4);
    } else {
        const QRectF content = drawTileBadge(p, hashedColour(name));
        const QString letters = monogramOf(name);
        const qreal width = letters.size() > 1 ? content.width() : content.width() * 0.62;
        const QRectF box(content.center().x() - width / 2, content.top() + 8, width, content.height() - 16);
        drawOutlined(p, fittedTextPath(letters, box), white, 4);
    }
    p.end();
    return image;
}

QImage renderIconPicture(const QString& name) {
    const QImage named = renderNamedPicture(name);
    return named.isNull() ? renderGameIcon(name) : named;
}

} // namespace velmora::tools
