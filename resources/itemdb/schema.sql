-- The item database of TAMU: four tables, read only by the program.
-- Item names join the tables; only ふりがな may be NULL. 生産数, 必要数, 店売り and 店買い
-- hold decimal integers.

CREATE TABLE ItemKind (
    アイテム種類 TEXT NOT NULL PRIMARY KEY,
    装備区分 TEXT NOT NULL
);

CREATE TABLE ItemInfo (
    アイテム名 TEXT NOT NULL PRIMARY KEY,
    ふりがな TEXT,
    バージョン TEXT NOT NULL,
    アイテム種類 TEXT NOT NULL,
    店売り INTEGER NOT NULL,
    店買い INTEGER NOT NULL
);

CREATE TABLE ItemCreator (
    アイテム名 TEXT NOT NULL,
    生産職業 TEXT NOT NULL,
    目録 TEXT NOT NULL,
    MOKUROKU TEXT NOT NULL,
    技能 TEXT NOT NULL,
    GINOU TEXT NOT NULL,
    生産数 INTEGER NOT NULL,
    バージョン TEXT NOT NULL
);

CREATE TABLE ItemCreateRelation (
    アイテム名 TEXT NOT NULL,
    材料 TEXT NOT NULL,
    必要数 INTEGER NOT NULL
);

-- Every recipe walk looks items up by product and by material.
CREATE INDEX ItemCreator_name ON ItemCreator (アイテム名);
CREATE INDEX ItemCreateRelation_name ON ItemCreateRelation (アイテム名);
CREATE INDEX ItemCreateRelation_material ON ItemCreateRelation (材料);
