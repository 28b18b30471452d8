#include "display/MapPageScript.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <cmath>
#include <utility>

namespace {
// "%lf" in the C locale: six decimals, a point, a plain minus.
QString fixed6(double v)
{
    return QString::asprintf("%lf", v);
}

bool isSeparator(QChar c)
{
    switch (c.unicode()) {
    case u' ':
    case u',':
    case u'\'':
    case u'"':
    case u'\t':
    case u'(':
    case u')':
    case u';':
        return true;
    default:
        return false;
    }
}

// The wrapper takes [name, [args...]] as its one JSON argument. Only functions
// the page's own script defines on window are called: browser built-ins such
// as eval or setTimeout report "[native code]" and are refused, so a call text
// can never turn its arguments into code.
const char* const kWrapper =
    "(function (c) {"
    " var n = c[0], a = c[1];"
    " if (typeof n !== 'string' || n === '' || !Object.prototype.hasOwnProperty.call(window, n)) return '';"
    " var f = window[n];"
    " if (typeof f !== 'function') return '';"
    " var src = Function.prototype.toString.call(f);"
    " if (/\\{\\s*\\[native code\\]\\s*\\}\\s*$/.test(src)) return '';"
    " try { var r = f.apply(window, a); return (r === undefined || r === null) ? '' : String(r); }"
    " catch (e) { return ''; }"
    "})(";
} // namespace

std::optional<PageCall> MapPageScript::ParseCallText(const QString& text)
{
    if (text.isEmpty())
        return std::nullopt;
    QString rest = text;
    const QString scheme = QStringLiteral("javascript:");
    const qsizetype at = rest.indexOf(scheme);
    if (at >= 0)
        rest = rest.mid(at + scheme.size());
    PageCall call;
    const qsizetype open = rest.indexOf(u'(');
    if (open < 0)
        return call;
    call.name = rest.left(open).trimmed();
    QString token;
    for (qsizetype i = open + 1; i < rest.size(); ++i) {
        const QChar c = rest.at(i);
        if (isSeparator(c)) {
            if (!token.isEmpty())
                call.args.append(std::exchange(token, QString()));
        } else {
            token.append(c);
        }
    }
    if (!token.isEmpty())
        call.args.append(token);
    return call;
}

QString MapPageScript::WrapperScript(const PageCall& call)
{
    QJsonArray data;
    data.append(call.name);
    data.append(QJsonArray::fromStringList(call.args));
    QString json = QString::fromUtf8(QJsonDocument(data).toJson(QJsonDocument::Compact));
    // JSON allows these two inside strings; older script parsers end a line
    // there. Escaping them keeps the literal one expression everywhere.
    json.replace(QChar(0x2028), QStringLiteral("\\u2028"));
    json.replace(QChar(0x2029), QStringLiteral("\\u2029"));
    return QLatin1String(kWrapper) + json + QStringLiteral(")");
}

QStringList MapPageScript::PositionCallTexts(double latitude, double longitude)
{
    if (!std::isfinite(latitude) || !std::isfinite(longitude))
        return {};
    // QString::asprintf formats numbers in the C locale, never the process's.
    return {
        QString::asprintf("javascript:removePoi(%d)", 0),
        QString::asprintf("javascript:addPoi_wgs84(%d, %lf, %lf, 'p', 0, 0, 'gpspos')", 0, longitude, latitude),
        QString::asprintf("javascript:setCenter_wgs84('%lf', '%lf')", longitude, latitude),
    };
}

PageCall MapPageScript::TrackCall(const std::vector<QPointF>& lonLat)
{
    PageCall call;
    call.name = QLatin1String(kTrackFunction);
    call.args.reserve(qsizetype(lonLat.size() * 2));
    for (const QPointF& p : lonLat) {
        if (!std::isfinite(p.x()) || !std::isfinite(p.y()))
            continue;
        call.args.append(fixed6(p.x()));
        call.args.append(fixed6(p.y()));
    }
    return call;
}
