// The printing plugin, lotgrid-print: the print preview and Qt Print Support
// behind one entry point, loaded the first time the user prints.
#include "guapan/guapanprint.h"

extern "C" Q_DECL_EXPORT int lotgrid_preview_and_print(QWidget *parent, const lotgrid::Chart &chart,
                                                       const lotgrid::GuapanWords &words,
                                                       const lotgrid::GuapanStyle &style, bool *withTexts)
{
    return lotgrid::previewAndPrint(parent, chart, words, style, withTexts);
}

// The entry point has the type the loader calls it by.
static_assert(std::is_same_v<decltype(&lotgrid_preview_and_print), lotgrid::PreviewAndPrint>);
