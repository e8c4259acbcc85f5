#include "kit/KeyboardLayout.h"

#include <QFile>
#include <QGuiApplication>
#include <QTextStream>
#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace tolvex {

namespace {

std::optional<KeyboardInputSource>& injected()
{
    static std::optional<KeyboardInputSource> source;
    return source;
}

struct X11Layout {
    QByteArray rulesNames;
    int group = 0;
};

std::optional<X11Layout> readX11Layout()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display)
        return std::nullopt;

    X11Layout layout;
    const Atom rulesAtom = XInternAtom(display, "_XKB_RULES_NAMES", True);
    if (rulesAtom == None)
        return std::nullopt;
    Atom type = None;
    int format = 0;
    unsigned long items = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    const int status =
        XGetWindowProperty(display, DefaultRootWindow(display), rulesAtom, 0, 1024, False,
                           XA_STRING, &type, &format, &items, &remaining, &data);
    if (status == Success && data && format == 8)
        layout.rulesNames =
            QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(items));
    if (data)
        XFree(data);
    if (layout.rulesNames.isEmpty())
        return std::nullopt;

    XkbStateRec state{};
    if (XkbGetState(display, XkbUseCoreKbd, &state) == Success)
        layout.group = state.group;
    return layout;
}

} // namespace

std::optional<KeyboardInputSource> KeyboardLayout::currentInputSource()
{
    if (injected())
        return injected();
    if (const std::optional<X11Layout> x11 = readX11Layout())
        return inputSourceFromRulesNames(x11->rulesNames, x11->group, defaultRulesListPath());
    const QString layouts = qEnvironmentVariable("XKB_DEFAULT_LAYOUT");
    if (layouts.isEmpty())
        return std::nullopt;
    return inputSourceFromLists(layouts, qEnvironmentVariable("XKB_DEFAULT_VARIANT"), 0,
                                defaultRulesListPath());
}

void KeyboardLayout::setForTesting(std::optional<KeyboardInputSource> source)
{
    injected() = std::move(source);
}

KeyboardInputSource KeyboardLayout::inputSourceFromLists(const QString& layouts,
                                                         const QString& variants, int group,
                                                         const QString& rulesListPath)
{
    const QStringList layoutList = layouts.split(QLatin1Char(','));
    const QStringList variantList = variants.split(QLatin1Char(','));
    const int index = group >= 0 && group < layoutList.size() ? group : 0;
    const QString layout = layoutList[index].trimmed();
    const QString variant = variantList.value(index).trimmed();
    if (layout.isEmpty())
        return {};
    const QString identifier =
        variant.isEmpty() ? layout : QStringLiteral("%1(%2)").arg(layout, variant);
    return {descriptionFromRulesList(rulesListPath, layout, variant), identifier};
}

KeyboardInputSource KeyboardLayout::inputSourceFromRulesNames(const QByteArray& rulesNames,
                                                              int group,
                                                              const QString& rulesListPath)
{
    enum Field { Rules, Model, Layouts, Variants, Options };
    const QList<QByteArray> fields = rulesNames.split('\0');
    return inputSourceFromLists(QString::fromUtf8(fields.value(Layouts)),
                                QString::fromUtf8(fields.value(Variants)), group, rulesListPath);
}

QString KeyboardLayout::descriptionFromRulesList(const QString& rulesListPath,
                                                 const QString& layout, const QString& variant)
{
    QFile file(rulesListPath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    // Sections start with "! layout" or "! variant". A layout line reads "  fr  French", a
    // variant line "  azerty  fr: French (AZERTY)".
    const QString wantedSection =
        variant.isEmpty() ? QStringLiteral("layout") : QStringLiteral("variant");
    const QString prefix = layout + QStringLiteral(": ");
    QString section;
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (line.startsWith(QLatin1Char('!'))) {
            section = line.mid(1).trimmed();
            continue;
        }
        if (section != wantedSection)
            continue;
        const QString entry = line.trimmed();
        const qsizetype gap = entry.indexOf(QLatin1Char(' '));
        if (gap < 0)
            continue;
        const QString name = entry.left(gap);
        const QString description = entry.mid(gap).trimmed();
        if (variant.isEmpty() && name == layout)
            return description;
        if (!variant.isEmpty() && name == variant && description.startsWith(prefix))
            return description.mid(prefix.size());
    }
    return {};
}

QString KeyboardLayout::defaultRulesListPath()
{
    return QStringLiteral("/usr/share/X11/xkb/rules/evdev.lst");
}

} // namespace tolvex
