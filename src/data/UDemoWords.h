#pragma once

// The words the demonstration data is made of: names, companies, streets,
// kinds of equipment with their brands, problems and comment lines. Each
// list is picked from by the demonstration data's random streams, so
// changing a list changes every database made from a seed.

namespace UDemoData::Words {

inline const char* const FirstNames[] = {
    "Anna",  "Ben",      "Carla",   "Daniel",  "Elena",  "Farid",  "Grace",  "Hendrik",
    "Ines",  "Jacob",    "Karin",   "Liam",    "Maria",  "Nico",   "Olivia", "Pieter",
    "Quinn", "Rosa",     "Sipho",   "Thandi",  "Ulrich", "Vera",   "Willem", "Xolani",
    "Yusuf", "Zanele",   "Adriaan", "Bongani", "Chloe",  "Dirk",   "Esther", "Frans",
    "Gugu",  "Hannah",   "Ivan",    "Johan",   "Kagiso", "Lerato", "Marius", "Nomsa",
    "Oscar", "Precious", "Riaan",   "Sarah",   "Tshepo", "Ursula", "Vusi",   "Wendy",
};

inline const char* const LastNames[] = {
    "Abrahams",  "Botha",      "Cloete",      "Dlamini",  "Erasmus",    "Fourie",   "Govender",
    "Hendricks", "Isaacs",     "Jacobs",      "Khumalo",  "Louw",       "Mokoena",  "Naidoo",
    "Olivier",   "Pretorius",  "Qwabe",       "Rossouw",  "Steyn",      "Theron",   "Uys",
    "Van Wyk",   "Williams",   "Xaba",        "Yates",    "Zulu",       "Adams",    "Basson",
    "Coetzee",   "Du Plessis", "Engelbrecht", "Ferreira", "Geldenhuys", "Hattingh", "Joubert",
    "Kruger",    "Le Roux",    "Meyer",       "Nel",      "Oosthuizen", "Pillay",   "Roberts",
    "Smit",      "Taylor",     "Venter",      "Visser",   "Wessels",    "Zwane",
};

inline const char* const CompanyWords[] = {
    "Acme",     "Bluegum",    "Cape",     "Delta",     "Eastgate",    "Fynbos",
    "Granite",  "Highveld",   "Ironwood", "Jacaranda", "Karoo",       "Lighthouse",
    "Marula",   "Northcliff", "Oakridge", "Protea",    "Quarry",      "Riverside",
    "Summit",   "Table Bay",  "Umhlanga", "Vaal",      "Waterfront",  "Yellowwood",
    "Zenith",   "Atlas",      "Baobab",   "Cedar",     "Drakensberg", "Elgin",
    "Fairview", "Goldfields", "Harbour",  "Impala",    "Jubilee",     "Kestrel",
    "Limpopo",  "Mountain",   "Nexus",    "Orion",     "Pinnacle",    "Redwood",
    "Sandton",  "Tygerberg",  "Union",    "Valley",    "Westbury",    "Crown",
};

inline const char* const CompanyTrades[] = {
    "Engineering",  "Printing",  "Logistics",   "Motors",     "Pharmacy",  "Bakery",
    "Dental",       "Attorneys", "Accountants", "Hardware",   "Furniture", "Textiles",
    "Foods",        "Plastics",  "Labs",        "Hotel",      "School",    "Clinic",
    "Construction", "Farming",   "Mining",      "Electrical", "Packaging", "Couriers",
    "Security",     "Travel",    "Stationers",  "Beverages",  "Medical",   "Media",
};

inline const char* const CompanySuffixes[] = {
    "(Pty) Ltd", "(Pty) Ltd", "CC", "Ltd", "& Sons", "Holdings", "Group", "",
};

inline const char* const Streets[] = {
    "Main Road",          "Church Street",       "Voortrekker Road", "Long Street",
    "Station Road",       "Oak Avenue",          "Park Lane",        "Beach Road",
    "Hill Street",        "Market Street",       "Victoria Road",    "High Street",
    "Kloof Street",       "Bree Street",         "Jan Smuts Avenue", "Rivonia Road",
    "Louis Botha Avenue", "Commissioner Street", "Eloff Street",     "Loop Street",
};

inline const char* const Towns[] = {
    "Cape Town", "Bellville", "Stellenbosch", "Paarl",     "Worcester", "George",      "Durban",
    "Pinetown",  "Pretoria",  "Centurion",    "Sandton",   "Randburg",  "Benoni",      "Boksburg",
    "Polokwane", "Nelspruit", "Bloemfontein", "Kimberley", "Gqeberha",  "East London",
};

inline const char* const Notes[] = {
    "",
    "",
    "",
    "Pays on 30-day account.",
    "Cash on delivery only.",
    "Reception closes at 16:00; deliveries at the back gate.",
    "Ask for the office manager.",
    "Prefers e-mail to phone calls.",
    "Long-standing customer; priority service agreed.",
    "Account on hold until the outstanding invoice is paid.",
    "Alarm code with the security desk.",
};

struct TCategory {
    const char* Kind;
    const char* Descriptions[4];
    bool Metered;
};

inline const TCategory Categories[] = {
    {"Copier", {"Colour copier, A3", "Mono copier, A4", "Copier with finisher", "Copier"}, true},
    {"Printer",
     {"Colour laser printer", "Mono laser printer", "Wide-format plotter", "Label printer"},
     true},
    {"Generator",
     {"Diesel generator 20 kVA", "Diesel generator 60 kVA", "Petrol generator",
      "Standby generator"},
     true},
    {"Compressor",
     {"Screw compressor", "Piston compressor 200 l", "Oil-free compressor", "Air dryer"},
     true},
    {"Air conditioner",
     {"Split unit 12000 BTU", "Split unit 24000 BTU", "Cassette unit", "Ducted system"},
     false},
    {"Pump", {"Borehole pump", "Pool pump", "Booster pump set", "Submersible pump"}, false},
    {"Forklift",
     {"Electric forklift 2.5 t", "Diesel forklift 3 t", "Pallet jack", "Reach truck"},
     true},
    {"Scale", {"Bench scale 30 kg", "Floor scale 1 t", "Counting scale", "Retail scale"}, false},
    {"POS terminal",
     {"Till with cash drawer", "Card terminal", "Receipt printer", "Barcode scanner"},
     false},
    {"Coffee machine",
     {"Espresso machine, two group", "Bean-to-cup machine", "Filter brewer", "Grinder"},
     true},
    {"Welder", {"MIG welder 250 A", "TIG welder", "Arc welder", "Plasma cutter"}, false},
    {"Refrigerator", {"Display fridge", "Cold room unit", "Chest freezer", "Ice machine"}, false},
};

struct TBrand {
    const char* Name;
    const char* Code;
    int Category; // index into Categories
};

inline const TBrand Brands[] = {
    {"Apexa", "APX", 0},       {"Copitron", "CPT", 0},   {"Ricora", "RCR", 0},
    {"Brightline", "BRL", 1},  {"Duraprint", "DRP", 1},  {"Inkwell", "INK", 1},
    {"Voltmaster", "VLT", 2},  {"Powerhaus", "PWH", 2},  {"Airflux", "AFX", 3},
    {"Kompressa", "KMP", 3},   {"Coolbreeze", "CBZ", 4}, {"Frostline", "FRL", 4},
    {"Aquaflow", "AQF", 5},    {"Hydromax", "HDX", 5},   {"Liftking", "LFK", 6},
    {"Palletpro", "PLP", 6},   {"Weighright", "WRT", 7}, {"Tillmate", "TLM", 8},
    {"Scanpoint", "SCP", 8},   {"Baristo", "BRS", 9},    {"Arcforge", "ARF", 10},
    {"Chillcraft", "CHC", 11},
};

inline const char* const ServiceTypes[] = {
    "Full Maintenance", "Full Maintenance", "Parts Only", "Labour Only", "On-site", "Gold",
    "Silver",           "Bronze",
};

inline const char* const ContractComments[] = {
    "",
    "",
    "Two preventive visits a year.",
    "Quarterly service, consumables excluded.",
    "Renewed for another year.",
    "Response within 8 working hours.",
    "Includes loan unit while in the workshop.",
    "Meter readings billed monthly.",
};

inline const char* const Problems[] = {
    "Machine does not switch on.",
    "Paper jams in tray 2.",
    "Makes a grinding noise when started.",
    "Leaking water at the bottom.",
    "Display shows error E-04.",
    "Runs but does not reach temperature.",
    "Trips the breaker after a few minutes.",
    "Annual service due.",
    "Prints faint lines down the page.",
    "Loses pressure overnight.",
    "Motor overheats under load.",
    "Customer reports intermittent fault.",
    "Install and commission new unit.",
    "Smell of burning from the back.",
    "Battery does not hold charge.",
    "Calibration certificate required.",
};

inline const char* const CallRemarks[] = {
    "Replaced fuser unit.",
    "Cleaned and lubricated; tested OK.",
    "Replaced drive belt and bearings.",
    "Reset controller and updated firmware.",
    "Replaced seals; no further leaks.",
    "Unit inspected; no fault found.",
    "Replaced thermostat.",
    "Quoted for a new motor; customer to confirm.",
    "",
};

inline const char* const Parts[] = {
    "",
    "",
    "Fuser unit",
    "Drive belt",
    "Bearings x2",
    "Seal kit",
    "Thermostat",
    "Control board",
    "Pickup rollers",
    "Filter set",
    "Capacitor",
    "Toner cartridge",
};

inline const char* const Storage[] = {
    "",         "",      "",      "Shelf A1", "Shelf A2",      "Shelf B1",
    "Shelf B3", "Bay 4", "Bay 7", "Dispatch", "Customer site", "Back yard",
};

inline const char* const Remarks[] = {
    "Customer phoned for an update.",
    "Technician on site.",
    "Quote sent to customer.",
    "Parts ordered from supplier.",
    "Supplier confirmed delivery date.",
    "Customer approved the quote.",
    "Left a message; customer not available.",
    "Unit collected for the workshop.",
    "Unit returned to customer.",
    "Tested for two hours; running normally.",
    "Invoice sent.",
    "Follow-up visit booked.",
    "Awaiting customer's order number.",
    "Loan unit supplied.",
};

} // namespace UDemoData::Words
