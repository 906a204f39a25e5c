// The menus' objects built under a root of their own over the generated data, with the settings
// store on prefs.cfg of the scratch player's directory; every object goes at the end.
#pragma once

#include <cstring>
#include <vector>

#include "library/config/prefs.h"
#include "library/ui/object.h"
#include "library/ui/setattr.h"
#include "source/menus/front_end.h"
#include "tests/source/mission/zone_fixture.h"

namespace vyr {

class MenuObjects : public GeneratedZone {
protected:
    void SetUp() override {
        GeneratedZone::SetUp();
        if (IsSkipped()) return;
        load_prefs("prefs.cfg");
        build_menu_fonts();
        create_ui_object(UI_BOX, nullptr, "Root Object", ATTR_RECT, 0, 0, 639, 479);
    }
    void TearDown() override {
        destroy_ui_tree();
        load_prefs(nullptr);
        GeneratedZone::TearDown();
    }

    // The `nth` object of that name under `from`, depth first and front to back; null past the last.
    static UiObject* find(UiObject* from, const char* name, int nth = 0) {
        std::vector<UiObject*> found;
        collect(from, name, found);
        return nth < int(found.size()) ? found[nth] : nullptr;
    }

private:
    static void collect(UiObject* from, const char* name, std::vector<UiObject*>& found) {
        for (UiObject* child = from ? from->first_child : nullptr; child; child = child->next_sibling) {
            if (std::strcmp(child->name, name) == 0) found.push_back(child);
            collect(child, name, found);
        }
    }
};

}  // namespace vyr
