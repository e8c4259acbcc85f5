#pragma once

#include "engine/TotalShredInfoDic.h"

#include <QLatin1StringView>
#include <optional>

// Typed access to the settings and the lifetime totals in UserDefaults::standard(). Nothing
// registers defaults: an absent key reads as false or 0, absent totals as std::nullopt.
namespace tolvex::Utils {

// The keys, for controls that show a setting and follow UserDefaults::valueChanged.
namespace DefaultsKey {
inline constexpr QLatin1StringView selectedDefShredMethodInd{"kSelectedDefShredMethodInd"};
inline constexpr QLatin1StringView defaultShreddingEnbled{"kDefaultShreddingEnbled"};
inline constexpr QLatin1StringView quitOnAllComplete{"kQuitOnAllComplete"};
inline constexpr QLatin1StringView windowIsVert_cal{"windowIsVert_cal"};
inline constexpr QLatin1StringView showHarlightAd{"kShowHarlightAd"};
inline constexpr QLatin1StringView totalShredDataDic{"kTotalShredDataDic"};
} // namespace DefaultsKey

// The default method: 0 = 1-pass, 1 = 7-pass, 2 = 35-pass. Any other stored value names no
// method and reads as 0.
qint64 defShredMethodInd();
void defShredMethodInd(qint64 index);
// The list of the default method (1, 7 or 35).
qint64 defShredMethodListId();

// Use the default method without asking.
bool defShreddingEnbled();

// Quit when a successful run ends and nothing is shredding any more.
bool shouldQuitOnAllComplete();

// The main window uses its vertical layout.
bool windIsVert_cal();
void windIsVert_calSave(bool vertical);

bool shownHarlightAd();
void shownHarlightAdSave(bool shown);

// Each count lies between 0 and 2^63 - 1, the largest byte count that can be shown; a stored
// count outside that reads as 0.
std::optional<TotalShredInfoDic> getTotalShredInfoDic();

// Adds `delta` to the stored totals, stopping at 2^63 - 1, and stores them whole. Adds are
// serialised, so runs that end together on different threads all count.
void overWriteTotalShredInfoDic(const TotalShredInfoDic& delta);

} // namespace tolvex::Utils
