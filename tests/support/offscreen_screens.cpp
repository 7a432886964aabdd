#include "support/offscreen_screens.h"

#include <QGuiApplication>
#include <QJsonArray>
#include <QScreen>
#include <gtest/gtest.h>
#include <qpa/qplatformnativeinterface.h>

namespace {

QPlatformNativeInterface* platform()
{
    return QGuiApplication::platformNativeInterface();
}

QJsonObject configuration()
{
    using Get = QJsonObject (*)(QPlatformNativeInterface*);
    const auto get =
        reinterpret_cast<Get>(platform()->nativeResourceForIntegration("configuration"));
    return get ? get(platform()) : QJsonObject();
}

void configure(QJsonObject config, bool synchronous = true)
{
    using Set = void (*)(const QJsonObject&, QPlatformNativeInterface*);
    const auto set =
        reinterpret_cast<Set>(platform()->nativeResourceForIntegration("setConfiguration"));
    ASSERT_NE(set, nullptr) << "the offscreen platform cannot lay out its screens anew";
    // Window system events delivered at once, so a new state's geometry is in on return.
    config[QStringLiteral("synchronousWindowSystemEvents")] = synchronous;
    set(config, platform());
}

QJsonObject screenObject(const TestScreen& plugged)
{
    return {{QStringLiteral("name"), QString::fromLatin1(plugged.name)},
            {QStringLiteral("x"), plugged.geometry.x()},
            {QStringLiteral("y"), plugged.geometry.y()},
            {QStringLiteral("width"), plugged.geometry.width()},
            {QStringLiteral("height"), plugged.geometry.height()},
            {QStringLiteral("logicalDpi"), 96},
            {QStringLiteral("logicalBaseDpi"), 96},
            {QStringLiteral("dpr"), 1.0}};
}

QJsonArray withScreens(const QJsonArray& screens, QJsonObject& config)
{
    config[QStringLiteral("screens")] = screens;
    configure(config);
    return screens;
}

// Connects a screen after those connected, as plugging it in does.

// Exactly these screens, listed in this order: a spare screen holds the windows while the

// others go, and goes once they are in.

} // namespace

void plugIn(const TestScreen& plugged)
{
    QJsonObject config = configuration();
    QJsonArray screens = config[QStringLiteral("screens")].toArray();
    screens.append(screenObject(plugged));
    withScreens(screens, config);
}

void unplug(const TestScreen& plugged)
{
    QJsonObject config = configuration();
    QJsonArray screens;
    for (const QJsonValue& s : config[QStringLiteral("screens")].toArray())
        if (s[QStringLiteral("name")].toString() != QLatin1String(plugged.name))
            screens.append(s);
    withScreens(screens, config);
}

void layOutScreens(const QList<TestScreen>& layout)
{
    const TestScreen spare{"spare", {0, 0, 800, 600}};
    QJsonObject config = configuration();
    QJsonArray screens = config[QStringLiteral("screens")].toArray();
    screens.append(screenObject(spare));
    withScreens(screens, config);
    withScreens({screenObject(spare)}, config);
    for (const TestScreen& plugged : layout)
        plugIn(plugged);
    unplug(spare);
}

QStringList connectedNames()
{
    QStringList names;
    for (const QScreen* s : QGuiApplication::screens())
        names.append(s->name());
    return names;
}

OffscreenLayoutKept::OffscreenLayoutKept() : original_(configuration()) {}

OffscreenLayoutKept::~OffscreenLayoutKept()
{
    // The original screens back first, so that a screen remains all along.
    const QJsonArray originalScreens = original_[QStringLiteral("screens")].toArray();
    QJsonObject config = configuration();
    QJsonArray screens = config[QStringLiteral("screens")].toArray();
    const QJsonArray current = screens;
    for (const QJsonValue& s : originalScreens)
        if (!current.contains(s))
            screens.append(s);
    config[QStringLiteral("screens")] = screens;
    configure(config);
    configure(original_, false);
}
