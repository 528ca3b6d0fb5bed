#include "utility/cursor/shipped_schemes.h"

// "Pointrel" keeps the library's own art where it fits (its white arrow, stop watch, I-beam and
// large sizing arrows); "Pointrel High Visibility" is black with a white edge throughout, its
// arrow the library's giant black one.
const ShippedScheme kShippedSchemes[kShippedSchemeCount] = {
    {"Pointrel",
     {
         "Medium size arrow.CUR",            // Normal
         "Pointrel help.CUR",                // Help
         "Pointrel app starting.ANI",        // App Starting
         "Stop Watch.ANI",                   // Busy
         "Pointrel precision.CUR",           // Precision
         "Large I-beam.CUR",                 // I-Beam
         "Pointrel handwriting.CUR",         // Handwriting
         "Pointrel unavailable.CUR",         // Unavailable
         "BIG_NS.CUR",                       // Vertical resize
         "BIG_EW.CUR",                       // Horizontal resize
         "BIG_NW.CUR",                       // Diagonal resize 1
         "BIG_NE.CUR",                       // Diagonal resize 2
         "Pointrel move.CUR",                // Move
         "Pointrel alternate.CUR",           // Alternate
         "Pointrel link.CUR",                // Link
         "Pointrel location.CUR",            // Location
         "Pointrel person.CUR",              // Person
     }},
    {"Pointrel High Visibility",
     {
         "Giant black arrow.CUR",
         "High visibility help.CUR",
         "High visibility app starting.ANI",
         "High visibility busy.ANI",
         "High visibility precision.CUR",
         "High visibility I-beam.CUR",
         "High visibility handwriting.CUR",
         "High visibility unavailable.CUR",
         "High visibility vertical resize.CUR",
         "High visibility horizontal resize.CUR",
         "High visibility diagonal resize 1.CUR",
         "High visibility diagonal resize 2.CUR",
         "High visibility move.CUR",
         "High visibility alternate.CUR",
         "High visibility link.CUR",
         "High visibility location.CUR",
         "High visibility person.CUR",
     }},
};
