#pragma once

#include <QDesktopServices>
#include <QObject>
#include <QUrl>

namespace tolvex::testing {

// Receives the URLs of the given schemes that the desktop would open, so no browser or mail
// program starts, for as long as it lives.
class UrlCatcher : public QObject {
    Q_OBJECT

public:
    explicit UrlCatcher(const QStringList& schemes) : schemes_(schemes)
    {
        for (const QString& scheme : schemes_)
            QDesktopServices::setUrlHandler(scheme, this, "open");
    }

    ~UrlCatcher() override
    {
        for (const QString& scheme : schemes_)
            QDesktopServices::unsetUrlHandler(scheme);
    }

    QList<QUrl> urls;

    Q_INVOKABLE void open(const QUrl& url) { urls << url; }

private:
    QStringList schemes_;
};

} // namespace tolvex::testing
