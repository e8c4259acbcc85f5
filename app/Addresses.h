#pragma once

#include <QLatin1StringView>

// Every address Tolvex opens, mails to or fetches from, kept in one place.
namespace tolvex::Addresses {

inline constexpr QLatin1StringView supportMail{"support@tolvex.app"};

// The maker's pages.
inline constexpr QLatin1StringView homePage{"https://tolvex.app/?ref=tolvex-app"};
inline constexpr QLatin1StringView twitterPage{"https://twitter.com/tolvexapp"};
inline constexpr QLatin1StringView facebookPage{"https://www.facebook.com/tolvexapp"};

// The product's own page, written without a scheme where it is shared as text.
inline constexpr QLatin1StringView productPageWithoutScheme{"tolvex.app"};

// The article on secure erasure that the vertical information screen links to.
inline constexpr QLatin1StringView secureErasureArticle{
    "https://tolvex.app/articles/how-secure-erasure-works"};

// The maker's other products: their pages, their store pages (an appstream: link that the
// desktop's software centre opens) and Harlight's direct download.
inline constexpr QLatin1StringView nodewickPage{"https://nodewick.app"};
inline constexpr QLatin1StringView sarvelPage{"https://sarvel.app"};
inline constexpr QLatin1StringView harlightPage{"https://harlight.app"};
inline constexpr QLatin1StringView nodewickStorePage{"appstream://app.nodewick.Nodewick"};
inline constexpr QLatin1StringView sarvelStorePage{"appstream://app.sarvel.Sarvel"};
inline constexpr QLatin1StringView harlightDownload{
    "https://harlight.app/download/Harlight-x86_64.AppImage"};

// Web share pages standing in for the system's sharing services; %1 is the percent-escaped text.
inline constexpr QLatin1StringView twitterShare{"https://twitter.com/intent/tweet?text=%1"};
inline constexpr QLatin1StringView facebookShare{
    "https://www.facebook.com/sharer/sharer.php?u=https%3A%2F%2Ftolvex.app&quote=%1"};
inline constexpr QLatin1StringView sinaWeiboShare{
    "https://service.weibo.com/share/share.php?url=https%3A%2F%2Ftolvex.app&title=%1"};

// The update feed.
inline constexpr QLatin1StringView appcast{"https://tolvex.app/appcast.xml"};

} // namespace tolvex::Addresses
