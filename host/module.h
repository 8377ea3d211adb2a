// A gauge module loaded as the simulator loads it: the library, its two exported records, and the
// checks that its records can be driven without harm.
#ifndef HOST_MODULE_H
#define HOST_MODULE_H

#include <string>
#include <vector>

#include "bitmap.h"
#include "gauge_records.h"
#include "win32.h"

namespace host {

class LoadedModule {
public:
    // Loads the library and checks its records; throws HostError (exit status 3) when it cannot.
    explicit LoadedModule(const std::string& path);
    ~LoadedModule();
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;

    const std::string& path() const { return path_; }
    HMODULE handle() const { return handle_; }
    ModuleLinkage* linkage() const { return linkage_; }
    ImportTableRecord* import_table() const { return import_table_; }
    const std::vector<GaugeHeader*>& gauges() const { return gauges_; }

    // The gauge of that name, or the first one for an empty name; throws when there is none.
    GaugeHeader* gauge(const std::string& name) const;

    // The module's bitmap resource `id`; throws HostError naming the module and the id.
    IndexedBitmap bitmap(uint32_t id) const;

private:
    std::string path_;
    HMODULE handle_ = nullptr;
    ModuleLinkage* linkage_ = nullptr;
    ImportTableRecord* import_table_ = nullptr;
    std::vector<GaugeHeader*> gauges_;
};

// Every element of a gauge's tree, root first, each followed by its subtree. Throws HostError for a
// tree that loops, runs too deep or too wide, or holds an element kind that the host does not know.
std::vector<ElementHeader*> element_tree(const GaugeHeader* header);

// The entries of a mouse-area list up to and including its closing entry; throws HostError for an
// unknown entry kind or a list without its closing entry within a sane length.
std::vector<MouseRect*> mouse_list(MouseRect* list, const char* gauge_name);

}  // namespace host

#endif
