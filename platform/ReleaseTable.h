#pragma once
// The table `release` of pcs.mdb: which code set the file holds, as (Item,
// Value) text rows. vorimel-pcsdb writes it and the About window reads it;
// both take the names from here, so the two cannot drift apart.

namespace release_table {

inline constexpr char TableName[] = "release";
inline constexpr char ItemColumn[] = "Item";
inline constexpr char ValueColumn[] = "Value";

inline constexpr char FiscalYear[] = "ICD-10-PCS fiscal year";   // e.g. "2020"
inline constexpr char TablesTitle[] = "ICD-10-PCS tables title"; // the tables file's own title
inline constexpr char OrderFile[] = "ICD-10-PCS order file";
inline constexpr char TablesFile[] = "ICD-10-PCS tables file";
inline constexpr char GemFile[] = "GEM file";
inline constexpr char GemYear[] = "GEM year";                 // e.g. "2018"; absent when the name has none
inline constexpr char Icd9File[] = "ICD-9-CM titles file";
inline constexpr char Icd9Version[] = "ICD-9-CM version";     // e.g. "32"; absent when the name has none
inline constexpr char CodeCount[] = "codes";
inline constexpr char BuiltOn[] = "built on";                 // yyyy-MM-dd
inline constexpr char Sample[] = "sample";                    // "yes" for the project's own sample release

} // namespace release_table
