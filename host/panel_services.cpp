// The PanelServices table: plain entry points under the modules' calling rules, each of which finds
// the gauge it serves on the active panel. No exception leaves an entry point: a misuse is recorded
// and raised once the module's routine has returned.
#include <string>

#include "panel.h"

namespace host {

namespace {

template <typename Action>
void serve(const char* service, Action action) {
    Panel* panel = Panel::active();
    if (panel == nullptr) return;
    try {
        action(*panel);
    } catch (const HostError& error) {
        panel->record_error(error);
    } catch (const std::exception& error) {
        panel->record_error(HostError(EXIT_BAD_MODULE, std::string(service) + ": " + error.what()));
    }
}

template <typename Action>
void serve_root(const char* service, ElementHeader* root, Action action) {
    serve(service, [&](Panel& panel) {
        Gauge* gauge = panel.gauge_of_root(root);
        if (gauge == nullptr) fail_module(std::string(service) + " called with an element that is no gauge's root");
        action(*gauge);
    });
}

template <typename Action>
void serve_header(const char* service, GaugeHeader* header, Action action) {
    serve(service, [&](Panel& panel) {
        Gauge* gauge = panel.gauge_of_header(header);
        if (gauge == nullptr) fail_module(std::string(service) + " called with a header that is no gauge's");
        action(*gauge);
    });
}

// Steps in which the host has nothing to do beyond knowing the gauge: it reads the records when it
// installs them, and composes the panel when a snapshot is taken.
void GAUGE_CALL elements_query(ElementHeader* root) { serve_root("elements_query", root, [](Gauge&) {}); }
void GAUGE_CALL elements_initialize(ElementHeader* root) { serve_root("elements_initialize", root, [](Gauge&) {}); }
void GAUGE_CALL elements_generate(ElementHeader* root, uint32_t) { serve_root("elements_generate", root, [](Gauge&) {}); }
void GAUGE_CALL elements_draw(ElementHeader* root) { serve_root("elements_draw", root, [](Gauge&) {}); }

void GAUGE_CALL elements_install(ElementHeader* root, uint32_t) {
    serve_root("elements_install", root, [](Gauge& gauge) { gauge.install_elements(); });
}

void GAUGE_CALL elements_update(ElementHeader* root) {
    serve_root("elements_update", root, [](Gauge& gauge) { gauge.update_elements(); });
}

void GAUGE_CALL elements_kill(ElementHeader* root) {
    serve_root("elements_kill", root, [](Gauge& gauge) { gauge.kill_elements(); });
}

void GAUGE_CALL mouse_areas_install(MouseRect* list, GaugeHeader* header, int32_t* size_pair) {
    serve_header("mouse_areas_install", header, [&](Gauge& gauge) { gauge.install_mouse(list, size_pair); });
}

void GAUGE_CALL mouse_areas_register(MouseRect* list, GaugeHeader* header) {
    serve_header("mouse_areas_register", header, [&](Gauge& gauge) { gauge.set_mouse_registered(list, true); });
}

void GAUGE_CALL mouse_areas_unregister(MouseRect* list, GaugeHeader* header) {
    serve_header("mouse_areas_unregister", header, [&](Gauge& gauge) { gauge.set_mouse_registered(list, false); });
}

void GAUGE_CALL send_key_event(uint32_t event_id, uint32_t value) {
    serve("send_key_event", [&](Panel& panel) { panel.send_key_event(event_id, value); });
}

// Binding a record needs no bookkeeping here: every refresh reads the variable's current value.
void GAUGE_CALL var_register(ModuleVar*) {}

void GAUGE_CALL var_refresh(ModuleVar* var) {
    serve("var_refresh", [&](Panel& panel) {
        if (var == nullptr) fail_module("var_refresh called with no record");
        panel.variables().refresh(var);
    });
}

const PanelServices services = {
    .elements_query = elements_query,
    .elements_install = elements_install,
    .elements_initialize = elements_initialize,
    .elements_update = elements_update,
    .elements_generate = elements_generate,
    .elements_draw = elements_draw,
    .elements_kill = elements_kill,
    .mouse_areas_install = mouse_areas_install,
    .mouse_areas_register = mouse_areas_register,
    .mouse_areas_unregister = mouse_areas_unregister,
    .send_key_event = send_key_event,
    .var_register = var_register,
    .var_refresh = var_refresh,
};

}  // namespace

const PanelServices* panel_services_table() { return &services; }

}  // namespace host
