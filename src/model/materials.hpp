// The conductors and surface roughnesses on offer: the dialog's two menus,
// the command line's --metal names and every help text come from these
// tables. Each value is the 32-bit float the menus have always selected.
#pragma once

#include <cstddef>
#include <string_view>

namespace ferravane::model {

struct Metal {
    std::string_view name;   // as the command line takes it
    float res1;              // resistivity, micro-ohm-cm
    std::string_view entry;  // the dialog's menu entry
};

inline constexpr Metal kMetals[] = {
    {"silver", 1.6f, " 1: Silver-plated: RES=1.6."},
    {"copper", 1.7f, "*2: Copper       : RES=1.7 (Default)."},
    {"gold", 2.5f, " 3: Gold-plated  : RES=2.5."},
    {"aluminum", 4.0f, " 4: 6061 Aluminum: RES=4.0."},
    {"brass", 7.0f, " 5: Brass        : RES=7.0."},
    {"steel", 11.8f, " 6: Steel        : RES=11.8."},
};
inline constexpr std::size_t kDefaultMetal = 1;  // copper

// Other spellings the command line takes, and the metal each names.
struct MetalAlias {
    std::string_view alias, name;
};
inline constexpr MetalAlias kMetalAliases[] = {{"aluminium", "aluminum"}};

struct Roughness {
    float sr1;               // RMS surface roughness, micro-inches
    std::string_view entry;  // the dialog's menu entry
};

inline constexpr Roughness kRoughnesses[] = {
    {10.0f, " 1: 10.0 micro-inch."},
    {5.0f, " 2:  5.0 micro-inch."},
    {2.5f, "*3:  2.5 micro-inch (Default)."},
    {1.0f, " 4:  1.0 micro-inch."},
    {0.0f, " 5:  0.0 micro-inch = Perfect."},
};
inline constexpr std::size_t kDefaultRoughness = 2;  // 2.5 micro-inch

// The model's units, in float arithmetic as the dialog has always stored
// them: micro-ohm-cm to ohm-inches, micro-inches to inches.
inline float ohm_inches(float res1) { return res1 * 3.937008e-7f; }
inline float inches_of_roughness(float sr1) { return sr1 * 1e-6f; }

}  // namespace ferravane::model
