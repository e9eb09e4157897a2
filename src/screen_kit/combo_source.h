#pragma once
// How a screen fills its combo boxes. A combo's Tag is its source: a SELECT whose first
// column is the key and second the description, run on the application key ("key - text"
// items), or a fixed list of entries separated by "|". Long fills yield to the message
// queue between reads, so a screen stays responsive and can be closed meanwhile.
//
//   if (!LoadCombosFromTags(*this, data, YieldWhileLoaded(*this))) ...   // the list screens
//   LoadComboSource(combo, combo.tag(), data, yield);                     // one combo
#include <functional>
#include <string>

#include "hosted/combo_box.h"
#include "runtime/form.h"
#include "screen_kit/data_access.h"

namespace vk {

// How a long routine yields to the message queue between items: it serves the waiting
// messages and answers whether to go on. False (the screen was closed, or its data
// object let go, meanwhile) makes the routine stop quietly: no message, no more SQL.
using ScreenYield = std::function<bool()>;
// DoEvents, then whether the form is still loaded.
ScreenYield YieldWhileLoaded(Form& form);

// A Tag is a statement when its trimmed text starts with "Select " (any case), or when
// it holds no "|"; otherwise it is a fixed list.
bool IsStatementSource(const std::wstring& tag);

enum class SourceLoad { Loaded, Failed, Stopped };
// Fills a combo from a source: a statement through GetData on the application
// database (yielding after the query and after the fill; a query that gives nothing
// leaves an empty list and answers Failed), a fixed list through LoadArray. Stopped
// when a yield said to stop (the combo is then not touched again).
SourceLoad LoadComboSource(hosted::ComboBox& combo, const std::wstring& source, const DataAccess& data,
                           const ScreenYield& yield);

// Loads every combo of the form in the form's order; `yield` runs after each read and
// after each fill and stops the loader when it returns false. A query that gives
// nothing leaves its combo empty and the loader goes on. False at the first combo that
// raises or when stopped; the combos after it stay as they were.
bool LoadCombosFromTags(Form& form, const DataAccess& data, const ScreenYield& yield);

}  // namespace vk
