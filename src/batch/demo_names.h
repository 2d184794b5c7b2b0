#pragma once
// Word lists the demo school's invented people and places are made from.
#include <string>
#include <vector>

namespace velmont::batch::names {

extern const std::vector<std::string> kGirls;
extern const std::vector<std::string> kBoys;
extern const std::vector<std::string> kSurnames;
extern const std::vector<std::string> kStreets;
extern const std::vector<std::string> kStreetKinds;
extern const std::vector<std::string> kTowns;
extern const std::vector<std::string> kExtraLines;  // the optional fourth address line

// A preferred name that differs from the given name ("Alexander" -> "Sandy"), or
// a short form made from it when the list has none.
std::string nickname(const std::string& given);

// Pieces that free comment notes are put together from; "#" stands for the
// student's first name.
extern const std::vector<std::string> kNoteOpenings;
extern const std::vector<std::string> kNoteMiddles;
extern const std::vector<std::string> kNoteClosings;

}  // namespace velmont::batch::names
