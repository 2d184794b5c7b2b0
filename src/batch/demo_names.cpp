#include "demo_names.h"

#include <map>

namespace velmont::batch::names {

const std::vector<std::string> kGirls = {
    "Amelia", "Isla", "Olivia", "Charlotte", "Harper", "Ruby", "Ella", "Mia", "Lily", "Sophie",
    "Grace", "Zoe", "Aria", "Hannah", "Eliza", "Matilda", "Frances", "Tessa", "Maia", "Anika",
    "Priya", "Leilani", "Mereana", "Yasmin", "Beatrice", "Clementine", "Elizabeth", "Katherine",
    "Margaret", "Victoria", "Rosalind", "Imogen", "Juno", "Saskia", "Ngaio", "Hazel"};

const std::vector<std::string> kBoys = {
    "Oliver", "Jack", "Noah", "Leo", "Lucas", "Hunter", "Mason", "Theo", "Finn", "Arlo",
    "George", "Henry", "Samuel", "Ethan", "Tane", "Rawiri", "Kai", "Ravi", "Mateo", "Hamish",
    "Angus", "Callum", "Dominic", "Felix", "Alexander", "Benjamin", "Christopher", "Jonathan",
    "Nicholas", "William", "Edward", "Robert", "Timothy", "Jasper", "Ronan", "Otis"};

const std::vector<std::string> kSurnames = {
    "Ashworth", "Bellamy", "Carrow", "Dunstan", "Ellery", "Fairweather", "Galloway", "Hartigan",
    "Ingleby", "Jardine", "Kettering", "Lovell", "Marchbanks", "Northcote", "Oakley", "Pennington",
    "Quayle", "Radford", "Somerville", "Thackeray", "Upton", "Vickery", "Wetherall", "Yardley",
    "Abernethy", "Blackwood", "Cresswell", "Drummond", "Eastwood", "Fenwick", "Greenhalgh",
    "Holloway", "Ironside", "Kingsley", "Lockhart", "Mowbray", "Netherby", "Ormsby", "Pemberton",
    "Rutherglen", "Stanhope", "Tregarthen", "Underhill", "Waverley", "O'Dowell", "McAllister",
    "Te Rangi", "Fitzwarren", "Hale-Simmons", "Van der Berg", "Ngata-Whyte", "Okonkwo-Lane",
    "Patel-Morrow", "Delacroix", "Santangelo", "Nakamura-Reid", "Lindqvist", "Kowalczyk"};

const std::vector<std::string> kStreets = {
    "Kowhai", "Harbour View", "Beacon", "Millbrook", "Foxglove", "Tannery", "Rosebank", "Quarry",
    "Larkspur", "Windmill", "Chapel", "Orchard", "Kingfisher", "Totara", "Seaview", "Wharf",
    "Hillcrest", "Puriri", "Station", "Ferry", "Bellbird", "Cedar", "Marram", "Fernleaf"};

const std::vector<std::string> kStreetKinds = {"Street", "Road", "Avenue", "Crescent", "Lane", "Terrace", "Place", "Drive"};

const std::vector<std::string> kTowns = {
    "Velmont", "Ashby Heath", "Marlow Bay", "Kestrel Point", "Dunmore Flats", "Pine Ridge",
    "Carrick Downs", "Whitebait Creek", "Oakvale", "Stony Batter"};

const std::vector<std::string> kExtraLines = {
    "RD 2", "PO Box 114", "Flat 3", "Unit 7B", "c/o Harbour Motel", "Private Bag 40",
    "Apartment 12", "Rural Delivery 5"};

std::string nickname(const std::string& given) {
  static const std::map<std::string, std::string> known = {
      {"Elizabeth", "Libby"}, {"Katherine", "Kate"}, {"Margaret", "Maggie"}, {"Victoria", "Tori"},
      {"Alexander", "Sandy"}, {"Benjamin", "Ben"},   {"Christopher", "Kit"}, {"Jonathan", "Jono"},
      {"Nicholas", "Nick"},   {"William", "Billy"},  {"Edward", "Ned"},      {"Robert", "Bob"},
      {"Timothy", "Tim"},     {"Frances", "Frankie"}, {"Rosalind", "Roz"},    {"Samuel", "Sam"}};
  auto it = known.find(given);
  if (it != known.end()) return it->second;
  return given.size() > 4 ? given.substr(0, 3) + "ie" : given + "y";
}

const std::vector<std::string> kNoteOpenings = {
    "# has worked steadily this term and should be pleased with the progress made.",
    "# has made a promising start and settled well into the class routines.",
    "# contributes thoughtfully to class discussion and asks good questions.",
    "# has found some of the new topics challenging but has persevered.",
    "# produced a thorough and well organised project this term.",
    "It has been a pleasure to teach # this term.",
    "# needs to take more care with the presentation of written work.",
    "# has shown real flair in the practical tasks this term."};

const std::vector<std::string> kNoteMiddles = {
    "Homework has been handed in on time and shows careful thought.",
    "Test results were uneven, and revision before assessments would help.",
    "Group work has been a strength, with # often taking the lead.",
    "The end of term assessment showed a sound grasp of the main ideas.",
    "More reading at home would help to widen vocabulary and confidence.",
    "Attendance has affected continuity, and catching up on missed work is important.",
    "Calculations are accurate, though working should always be shown in full.",
    "Field trip notes were detailed and made good use of the data collected."};

const std::vector<std::string> kNoteClosings = {
    "Well done, and keep it up next term.",
    "I look forward to seeing continued effort next term.",
    "Setting a clear goal for next term would be worthwhile.",
    "With steady effort the next step is well within reach.",
    "A very good term overall."};

}  // namespace velmont::batch::names
