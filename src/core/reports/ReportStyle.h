#pragma once

// The three report tables the viewer shows; None before any is displayed.
enum class ReportStyle {
    None = 0,
    Full = 1,    // Report.ini, one row per call
    Daily = 2,   // DayArchive.ini
    Monthly = 3, // MonthArchive.ini
};
