#include "document/listloading.h"

#include "document/jmfreader.h"
#include "platform/consoleprinter.h"
#include "platform/errors.h"

namespace kelvari {

std::optional<LoadResult> loadWordListFile(const QString &path, CellStore &cells,
                                           ConsolePrinter &print) {
    try {
        JmfContent content = readJmfFile(path);
        if (!content.accepted()) {
            print.fileError(path, notAWordListMessage());
            return std::nullopt;
        }
        return applyWordList(cells, std::move(content), LoadMode::Open, 1, kCommandLineMaxRow);
    } catch (const AppError &e) {
        print.fileError(path, e.message());
        return std::nullopt;
    }
}

} // namespace kelvari
