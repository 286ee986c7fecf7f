#pragma once

#include <QString>

namespace qorv {

// What the window sees while a file is read. Each call happens at the point of the load where
// the window reacted, so a load that fails half way leaves the window showing what was read
// before the failure. Every method has an empty default.
class LoadListener {
  public:
    virtual ~LoadListener() = default;
    // Preparation: set the date and time conventions, reset the report options and the chart
    // settings, clear the display. Called before anything of LogData is touched.
    virtual void prepareForLoad() {}
    // The file's path is shown (before the file is opened).
    virtual void fileNameShown(const QString& /*path*/) {}
    // A device line was read; the window caption becomes this title.
    virtual void windowTitleChanged(const QString& /*title*/) {}
    // A summary line was read and appended to the summary rows.
    virtual void summaryRowAppended(const QString& /*row*/) {}
    // The proposed name of channel 2 changed.
    virtual void channel2NameChanged(const QString& /*name*/) {}
};

}  // namespace qorv
