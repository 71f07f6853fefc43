#include "show_table.h"

#include "common/messages.h"
#include "shell/show_run.h"
#include "verify/frame_table.h"

ShowTable makeShowTable(const DataFolder& data) {
    ShowTable table;
    MessageLog messages;  // the mesh reader's text is not the table's
    headless::ShowRun run(verify::tableFps, 0, ShowContext(messages, data));
    if (run.startFailure() != 0) return table;
    table.started = true;
    while (run.renderNext()) {
        const Image& image = run.image();
        const verify::FrameLine line = verify::hashFrame(run.frame(), run.milliseconds(), run.scene(), image.pixels,
                                                         static_cast<size_t>(image.count()) * 4);
        table.text += verify::frameLineText(line) + "\n";
        ++table.frames;
    }
    return table;
}
