#include "savedlook.h"

#include "controls/pictures.h"
#include "platform/pictureloader.h"
#include "settings/restorerules.h"
#include "settings/settingsfiles.h"
#include "settings/settingsstore.h"

namespace {

// The edge space the window holds: the selected button's, or the number read
// when it selects none.
double edgeSpace(const RestoreRules::Margin &margin)
{
    return margin.button ? double(*margin.button) : margin.marginInches;
}

} // namespace

QImage savedLogo(const SettingsStore &store)
{
    if (const auto path = RestoreRules::logoPath(store.readState(SettingsFiles::Logo))) {
        if (auto picture = PictureLoader::load(*path))
            return *picture;
    }
    return Pictures::logoPlaceholder();
}

EnvelopeLook savedLook(const SettingsStore &store)
{
    using namespace SettingsFiles;
    EnvelopeSelection selection;
    selection.fontPosition = RestoreRules::fontSize(store.readState(FontSize));
    selection.marginInches = edgeSpace(RestoreRules::margin(store.readState(Margin)));
    selection.feedSide = RestoreRules::feedSide(store.readState(EnvFeed));
    selection.envelopeSize = RestoreRules::envelopeSize(store.readState(EnvSize));
    EnvelopeLook look;
    look.choice = resolveSelection(selection);
    look.returnAddress = RestoreRules::returnAddress(store.readState(From));
    look.printLogo = RestoreRules::printLogo(store.readState(PrLogo));
    look.printBarCode = RestoreRules::printPostNet(store.readState(PrPnet));
    return look;
}
