-- Security database ("VkS"): users, their permissions per component, their
-- categories, and the components. Plain SQLite; run with the sqlite3 shell.
PRAGMA foreign_keys = ON;

-- UserLevel 0 is an administrator.
CREATE TABLE Users (
  UserName        VARCHAR(60) NOT NULL PRIMARY KEY COLLATE NOCASE,
  UserDescription VARCHAR(100),
  UserLevel       INTEGER NOT NULL DEFAULT 1
);

CREATE TABLE Components (
  ComponentId   VARCHAR(20) NOT NULL PRIMARY KEY COLLATE NOCASE,
  ComponentName VARCHAR(100) NOT NULL
);

-- Verbos: the permission numbers (1 to 10) the user has on the component, joined by "|".
CREATE TABLE UsersPermissions (
  UserName    VARCHAR(60) NOT NULL COLLATE NOCASE REFERENCES Users (UserName) ON DELETE CASCADE,
  ComponentId VARCHAR(20) NOT NULL COLLATE NOCASE REFERENCES Components (ComponentId),
  Verbos      VARCHAR(40) NOT NULL DEFAULT '',
  PRIMARY KEY (UserName, ComponentId)
);

-- Category groups; each lists the application's categories (CategoriaN2Id) it opens.
CREATE TABLE Categorias (
  CategoriaId VARCHAR(10) NOT NULL PRIMARY KEY COLLATE NOCASE,
  Categoria   VARCHAR(100) NOT NULL
);

CREATE TABLE CategoriasDetail (
  CategoriaN1Id VARCHAR(10) NOT NULL COLLATE NOCASE REFERENCES Categorias (CategoriaId),
  CategoriaN2Id VARCHAR(10) NOT NULL COLLATE NOCASE,
  PRIMARY KEY (CategoriaN1Id, CategoriaN2Id)
);

CREATE TABLE UsersCategorias (
  UserName    VARCHAR(60) NOT NULL COLLATE NOCASE REFERENCES Users (UserName) ON DELETE CASCADE,
  CategoriaId VARCHAR(10) NOT NULL COLLATE NOCASE REFERENCES Categorias (CategoriaId),
  PRIMARY KEY (UserName, CategoriaId)
);
