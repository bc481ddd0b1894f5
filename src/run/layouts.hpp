// Every block the driver prints, as field sequences appended to a layout.
// Each function appends its lines; the caller sends the bytes on.
#pragma once

#include "engine/engine.hpp"
#include "state/design_state.hpp"
#include "textio/layout.hpp"

namespace ferravane::run::layouts {

using textio::Layout;

void run_header(Layout& lay, const state::Blk3& d);
void analysis_header(Layout& lay, const state::DesignState& s);
void synthesis_header(Layout& lay, const state::DesignState& s);
void width_line(Layout& lay, float w, float wbtemp, float tbtemp, float zo);
void frequency_table_header(Layout& lay);
void frequency_row(Layout& lay, const engine::Row& row);
void cutoff_line(Layout& lay, float tec);
void loss_table_header(Layout& lay, float f);
void synthesis_loss_row(Layout& lay, const engine::Row& row);
void sensitivity_table_header(Layout& lay);
void sensitivity_row(Layout& lay, const engine::Row& row);
void width_warning(Layout& lay, float zo);
void closing_rule(Layout& lay);
void storage_line(Layout& lay, const textio::Text20& fn);
void operation_menu(Layout& lay);
void operation_prompt(Layout& lay);

}  // namespace ferravane::run::layouts
