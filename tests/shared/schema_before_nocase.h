#pragma once

// The schema text of files made by builds before text columns were declared NOCASE, as such a file holds it.
inline const char* const kSchemaBeforeNoCase[] = {
    "CREATE TABLE \"Calls\" (\"Nom\" INTEGER PRIMARY KEY AUTOINCREMENT"
    ", \"Username\" TEXT COLLATE JETNOCASE CHECK (length(\"Username\") <= 50)"
    ", \"sp2\" TEXT COLLATE JETNOCASE CHECK (length(\"sp2\") <= 100)"
    ", \"User\" TEXT COLLATE JETNOCASE CHECK (length(\"User\") <= 50)"
    ", \"Status\" TEXT COLLATE JETNOCASE CHECK (length(\"Status\") <= 50)"
    ", \"sp3\" TEXT COLLATE JETNOCASE CHECK (length(\"sp3\") <= 50), \"Query\" TEXT COLLATE JETNOCASE"
    ", \"Resolution\" TEXT COLLATE JETNOCASE"
    ", \"sp1\" TEXT COLLATE JETNOCASE CHECK (length(\"sp1\") <= 255)"
    ", \"Spare\" TEXT COLLATE JETNOCASE CHECK (length(\"Spare\") <= 255)"
    ", \"Time Spent\" TEXT COLLATE JETNOCASE CHECK (length(\"Time Spent\") <= 255)"
    ", \"Logged\" TEXT COLLATE JETNOCASE CHECK (length(\"Logged\") <= 50)"
    ", \"Contact\" TEXT COLLATE JETNOCASE CHECK (length(\"Contact\") <= 255)"
    ", \"Field1\" TEXT COLLATE JETNOCASE CHECK (length(\"Field1\") <= 100)"
    ", \"Audit\" TEXT COLLATE JETNOCASE, \"sp4\" TEXT COLLATE JETNOCASE CHECK (length(\"sp4\") <= 255)"
    ", \"Date Opened\" DATETIME, \"Time Opened\" DATETIME, \"Date Closed\" DATETIME"
    ", \"Time Closed\" DATETIME)",
    "CREATE TABLE \"Notes\" (\"ID\" INTEGER PRIMARY KEY AUTOINCREMENT, \"Call\" INTEGER"
    ", \"Note\" TEXT COLLATE JETNOCASE"
    ", \"Analyst\" TEXT COLLATE JETNOCASE CHECK (length(\"Analyst\") <= 50), \"Note-date\" DATETIME"
    ", \"Note-time\" DATETIME)",
    "CREATE TABLE \"Customers\" (\"Name\" TEXT COLLATE JETNOCASE CHECK (length(\"Name\") <= 100)"
    ", \"Username\" TEXT COLLATE JETNOCASE CHECK (length(\"Username\") <= 50)"
    ", \"Extension\" TEXT COLLATE JETNOCASE CHECK (length(\"Extension\") <= 50)"
    ", \"Location\" TEXT COLLATE JETNOCASE CHECK (length(\"Location\") <= 255)"
    ", \"Spare1\" TEXT COLLATE JETNOCASE CHECK (length(\"Spare1\") <= 100)"
    ", \"Spare2\" TEXT COLLATE JETNOCASE CHECK (length(\"Spare2\") <= 100)"
    ", \"Notes\" TEXT COLLATE JETNOCASE"
    ", \"Building\" TEXT COLLATE JETNOCASE CHECK (length(\"Building\") <= 100))",
    "CREATE TABLE \"Inventory\" (\"ID\" INTEGER PRIMARY KEY AUTOINCREMENT"
    ", \"Type\" TEXT COLLATE JETNOCASE CHECK (length(\"Type\") <= 100)"
    ", \"Details\" TEXT COLLATE JETNOCASE CHECK (length(\"Details\") <= 255)"
    ", \"Number\" TEXT COLLATE JETNOCASE CHECK (length(\"Number\") <= 100)"
    ", \"Notes\" TEXT COLLATE JETNOCASE"
    ", \"Details2\" TEXT COLLATE JETNOCASE CHECK (length(\"Details2\") <= 50)"
    ", \"Number2\" TEXT COLLATE JETNOCASE CHECK (length(\"Number2\") <= 100)"
    ", \"Notes2\" TEXT COLLATE JETNOCASE"
    ", \"Type2\" TEXT COLLATE JETNOCASE CHECK (length(\"Type2\") <= 100))",
    "CREATE TABLE \"Analysts\" (\"ID\" TEXT COLLATE JETNOCASE CHECK (length(\"ID\") <= 50)"
    ", \"Spare1\" TEXT COLLATE JETNOCASE CHECK (length(\"Spare1\") <= 50)"
    ", \"Spare2\" TEXT COLLATE JETNOCASE CHECK (length(\"Spare2\") <= 50))",
    "CREATE TABLE \"Settings\" (\"Status\" TEXT COLLATE JETNOCASE CHECK (length(\"Status\") <= 50)"
    ", \"ColourFld\" TEXT COLLATE JETNOCASE CHECK (length(\"ColourFld\") <= 50)"
    ", \"Category\" TEXT COLLATE JETNOCASE CHECK (length(\"Category\") <= 50)"
    ", \"SettingFld\" TEXT COLLATE JETNOCASE CHECK (length(\"SettingFld\") <= 50)"
    ", \"ValueFld\" TEXT COLLATE JETNOCASE CHECK (length(\"ValueFld\") <= 50)"
    ", \"Value11\" TEXT COLLATE JETNOCASE CHECK (length(\"Value11\") <= 100))",
    "CREATE INDEX \"idx_Calls_Username\" ON \"Calls\" (\"Username\")",
    "CREATE INDEX \"idx_Calls_Status\" ON \"Calls\" (\"Status\")",
    "CREATE INDEX \"idx_Calls_User\" ON \"Calls\" (\"User\")",
    "CREATE INDEX \"idx_Calls_DateOpened\" ON \"Calls\" (\"Date Opened\")",
    "CREATE INDEX \"idx_Calls_sp3\" ON \"Calls\" (\"sp3\")",
    "CREATE INDEX \"idx_Notes_Call\" ON \"Notes\" (\"Call\")",
    "CREATE INDEX \"idx_Inventory_Details2\" ON \"Inventory\" (\"Details2\")",
    "CREATE INDEX \"idx_Customers_Username\" ON \"Customers\" (\"Username\")",
    "CREATE INDEX \"idx_Customers_Name\" ON \"Customers\" (\"Name\")",
    "CREATE INDEX \"idx_Analysts_ID\" ON \"Analysts\" (\"ID\")",
};
