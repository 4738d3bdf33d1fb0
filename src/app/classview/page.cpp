#include "app/classview/page.h"

#include <QFile>
#include <QString>

namespace app::classview {
namespace {

QByteArray resource(const char* name) {
    QFile file(QStringLiteral(":/classview/") + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly)) qFatal("class view: the built-in file %s is missing", name);
    return file.readAll();
}

// The marks of page.html that take the files, each into its own element.
struct Part {
    const char* mark;
    const char* file;
    const char* open;
    const char* close;
};

constexpr Part kParts[] = {
    {"<!--dygraph.css-->", "dygraph.min.css", "<style>", "</style>"},
    {"<!--page.css-->", "page.css", "<style>", "</style>"},
    {"<!--dygraph.js-->", "dygraph.min.js", "<script>", "</script>"},
    {"<!--page.js-->", "page.js", "<script>", "</script>"},
};

// A browser's tools would ask for the source map named at the end of a
// minified file; there is none to give.
QByteArray withoutSourceMap(QByteArray text) {
    for (const char* mark : {"//# sourceMappingURL=", "/*# sourceMappingURL="}) {
        const qsizetype at = text.lastIndexOf(mark);
        if (at < 0) continue;
        const qsizetype end = text.indexOf('\n', at);
        text.remove(at, end < 0 ? text.size() - at : end - at);
    }
    return text;
}

QByteArray buildPage() {
    QByteArray page = resource("page.html");
    for (const Part& p : kParts) {
        const QByteArray contents = withoutSourceMap(resource(p.file));
        // A closing tag inside would end the element early.
        if (contents.contains(QByteArray(p.close).chopped(1)))
            qFatal("class view: %s holds %s and cannot be written into the page", p.file, p.close);
        if (!page.contains(p.mark)) qFatal("class view: page.html has no mark %s", p.mark);
        page.replace(p.mark, QByteArray(p.open) + contents + p.close);
    }
    return page;
}

}  // namespace

const QByteArray& pageBytes() {
    static const QByteArray page = buildPage();
    return page;
}

}  // namespace app::classview
