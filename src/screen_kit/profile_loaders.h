#pragma once
// The two loaders Build runs to fill the shared state from the database: the
// cataloguing parameters and the Windows user's profile.
namespace vk {

// Reads AplicationParameters on the application key. False when the table could not
// be read to its end; a missing recordset is told to the user first.
bool LoadParameters();

// Reads the user's level, and for a non-administrator the employee row, the
// permissions for this component and the categories. False when the profile could not
// be read as far as the user's kind requires; never tells the user.
bool LoadUser();

}  // namespace vk
