-- Plantilla de las distribuciones de Kalnor (se instala como bin/kalnor.ini).
-- Cada distribución nueva es una copia de este archivo con la fila del
-- enunciado rellena.

-- Una sola fila: el tipo de distribución, su clase y el enunciado con las
-- notas del usuario.
CREATE TABLE ENUNCIADO (
    TIPO TEXT,      -- "Categórica", "Discreta", ..., "Continua, Continua"
    CLASE TEXT,     -- "Dist. UNIDIMENSIONAL" o "Dist. BIDIMENSIONAL"
    ENUNCIADO TEXT  -- texto enriquecido
) STRICT;

-- Tablas de datos, una por cada tipo que ofrece la nueva distribución; solo
-- se usa la que nombra el TIPO del archivo. Las palabras son TEXT, los
-- números REAL y la frecuencia absoluta ni un entero natural. Las columnas
-- derivadas se añaden después como REAL.
CREATE TABLE CAT (
    Xi TEXT,
    ni INTEGER CHECK (ni >= 0)
) STRICT;

CREATE TABLE DIS (
    Xi REAL,
    ni INTEGER CHECK (ni >= 0)
) STRICT;

CREATE TABLE CON (
    LiX REAL,
    LsX REAL,
    ni INTEGER CHECK (ni >= 0)
) STRICT;

CREATE TABLE DISDIS (
    Xi REAL,
    Yi REAL,
    ni INTEGER CHECK (ni >= 0)
) STRICT;

CREATE TABLE DISCON (
    Xi REAL,
    LiY REAL,
    LsY REAL,
    ni INTEGER CHECK (ni >= 0)
) STRICT;

CREATE TABLE CONCON (
    LiX REAL,
    LsX REAL,
    LiY REAL,
    LsY REAL,
    ni INTEGER CHECK (ni >= 0)
) STRICT;
