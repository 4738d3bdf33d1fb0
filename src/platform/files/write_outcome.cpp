#include "platform/files/write_outcome.h"

#include <cstring>

namespace platform::files {
namespace {

struct KindTexts {
    FileKind kind;
    const char* english;      // "it is a FIFO", after "it is"
    const char* czech;        // "je to roura (FIFO), ne obyčejný soubor"
    const char* czechLinked;  // the same through a symlink
};

constexpr KindTexts kKindTexts[] = {
    {FileKind::Folder, "a folder", "je to složka, ne soubor", "je to odkaz na složku, ne na soubor"},
    {FileKind::Fifo, "a FIFO", "je to roura (FIFO), ne obyčejný soubor",
     "je to odkaz na rouru (FIFO), ne na obyčejný soubor"},
    {FileKind::Device, "a device", "je to zařízení, ne obyčejný soubor",
     "je to odkaz na zařízení, ne na obyčejný soubor"},
    {FileKind::Other, "not a regular file", "není to obyčejný soubor", "je to odkaz na něco, co není obyčejný soubor"},
};

const KindTexts& textsOf(FileKind kind) {
    for (const KindTexts& t : kKindTexts)
        if (t.kind == kind) return t;
    return kKindTexts[std::size(kKindTexts) - 1];
}

QString reasonOf(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

}  // namespace

QString notRegularEnglish(FileKind kind, bool link) {
    const KindTexts& t = textsOf(kind);
    if (t.kind == FileKind::Other)
        return QString::fromLatin1(link ? "it is a symlink to something that is not a regular file"
                                        : "it is not a regular file");
    return QStringLiteral("it is %1%2, not a regular file")
        .arg(QLatin1String(link ? "a symlink to " : ""), QLatin1String(t.english));
}

QString notRegularCzech(FileKind kind, bool link) {
    const KindTexts& t = textsOf(kind);
    return QString::fromUtf8(link ? t.czechLinked : t.czech);
}

WriteOutcome faultOf(WriteFault fault) {
    WriteOutcome out;
    out.fault = fault;
    return out;
}

WriteOutcome systemFault(int error) {
    WriteOutcome out = faultOf(WriteFault::System);
    out.error = error;
    return out;
}

WriteOutcome notRegularFault(FileKind kind, bool link) {
    WriteOutcome out;
    out.fault = WriteFault::NotRegular;
    out.kind = kind;
    out.link = link;
    return out;
}

QString WriteOutcome::english() const {
    switch (fault) {
        case WriteFault::None: return {};
        case WriteFault::NoName: return QStringLiteral("no file name");
        case WriteFault::NotRegular: return notRegularEnglish(kind, link);
        case WriteFault::Guarded: return QStringLiteral("it is %1; it would be written over").arg(guardedEnglish);
        case WriteFault::System: return reasonOf(error);
        case WriteFault::Contents: return QStringLiteral("the contents could not be made");
    }
    return {};
}

QString WriteOutcome::czech() const {
    switch (fault) {
        case WriteFault::None: return {};
        case WriteFault::NoName: return QStringLiteral("chybí jméno souboru");
        case WriteFault::NotRegular: return notRegularCzech(kind, link);
        case WriteFault::Guarded: return QStringLiteral("to je %1").arg(guardedCzech);
        case WriteFault::System: return reasonOf(error);
        case WriteFault::Contents: return QStringLiteral("obsah souboru se nepodařilo vytvořit");
    }
    return {};
}

}  // namespace platform::files
