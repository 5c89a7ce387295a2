#pragma once

// The bodies of the window's commands. They run on the command thread and touch no widget: what they
// read of the window comes in as a snapshot taken when the button was pressed.

#include <atomic>
#include <chrono>
#include <string>
#include <vector>

namespace lcd {

class BitmapImport;
class DisplayBus;
class StopSignal;

// Where the Test command is, for the status line: page 0-7 and step 0-127, -1 before it starts.
struct TestProgress {
    std::atomic<int> page{-1};
    std::atomic<int> step{-1};
};

inline constexpr std::chrono::milliseconds TestStepPause{100};

void ClearDisplay(DisplayBus& bus);

// Display on, clear, then the banner naming the two small-font routines it shows.
void InitLCD(DisplayBus& bus);

// The first eight memo lines (UTF-8) onto the eight pages, in the small or the large font. Does not clear
// first: columns beyond each line keep what they showed.
void WriteText(DisplayBus& bus, const std::vector<std::string>& memoLines, bool smallFont);

// A # glyph walking along every page, one column a step, a blank drawn four columns behind it, with a
// pause after each step that a stop request ends at once.
void RunTest(DisplayBus& bus, const StopSignal& stop, TestProgress& progress,
             std::chrono::milliseconds pause);

void DrawPicture(DisplayBus& bus);

// The display half of Show BMP: the file read raw, converted at fixed offsets, and sent.
void ShowBMPOnDisplay(DisplayBus& bus, BitmapImport& bitmap, const std::string& path);

}  // namespace lcd
