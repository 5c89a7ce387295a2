#include "PanelCommands.h"

#include "display/ControllerAddressing.h"
#include "display/DisplayBus.h"
#include "display/StopSignal.h"
#include "drawing/BitmapImport.h"
#include "drawing/BuiltInPicture.h"
#include "drawing/TextEncoding.h"
#include "drawing/TextOutput.h"

namespace lcd {

void ClearDisplay(DisplayBus& bus) {
    ClearLCD(bus);
}

void InitLCD(DisplayBus& bus) {
    struct BannerLine {
        std::uint8_t x;
        std::uint8_t y;
        const char* text;
    };
    static constexpr BannerLine banner[] = {
        {0, 0, "PrintLCDText"},  {1, 1, "SetLCDXY(1,1)"}, {2, 2, "SetLCDXY(2,2)"},
        {3, 3, "SetLCDXY(3,3)"}, {2, 6, "SetLCDXY(2,6)"},
    };
    LCDDisplayOn(bus);
    ClearLCD(bus);
    for (const BannerLine& line : banner) {
        SetLCDXY(bus, line.x, line.y);
        PrintLCDText(bus, line.text);
    }
}

void WriteText(DisplayBus& bus, const std::vector<std::string>& memoLines, bool smallFont) {
    SetLCDStartLine(bus, 0);
    for (std::uint8_t page = 0; page < DisplayPages; ++page) {
        const std::string line = page < memoLines.size() ? memoLines[page] : std::string();
        if (smallFont) {
            PrintLCDTextAt(bus, 0, page, ToSmallFontText(line));
        } else {
            PrintLCDLargeText(bus, 0, page, ToLargeFontText(line));
        }
    }
}

void RunTest(DisplayBus& bus, const StopSignal& stop, TestProgress& progress,
             std::chrono::milliseconds pause) {
    for (std::uint8_t page = 0; page < DisplayPages; ++page) {
        progress.page = page;
        for (int j = 0; j < DisplayColumns; ++j) {
            progress.step = j;
            PrintLCDChar(bus, static_cast<std::uint8_t>(j), page, ' ');
            PrintLCDChar(bus, static_cast<std::uint8_t>((j + 4) % 256), page, '#');
            if (pause.count() > 0) {
                stop.Pause(pause);
            }
        }
    }
}

void DrawPicture(DisplayBus& bus) {
    WriteLCDPages(bus, BuiltInPicture);
}

void ShowBMPOnDisplay(DisplayBus& bus, BitmapImport& bitmap, const std::string& path) {
    bitmap.LoadBMPFile(path);
    bitmap.ConvertBMPToPages();
    WriteLCDPages(bus, bitmap.BMPPageBuffer);
}

}  // namespace lcd
