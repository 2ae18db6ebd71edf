CREATE TABLE DIS (Xi REAL, ni INTEGER);
UPDATE sqlite_schema SET sql = 'CREATE TABLE DIS (Xi REAL, [ni] "INT" (5, 6), `z` VARCHAR(' WHERE name = 'DIS';
