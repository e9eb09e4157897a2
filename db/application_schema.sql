-- Application database: parameters, catalogue tables, documents, logs, the column
-- dictionary and the stored procedures. Plain SQLite; run with the sqlite3 shell.
-- Text keys compare without regard to case, as the server's default collation does.
-- Dates are stored as text 'yyyy-mm-dd hh:mm:ss' (sortable) in DATETIME columns.
-- Numeric keys are INT, not INTEGER: an INTEGER PRIMARY KEY would take a Null as
-- "pick the next id", where the server refuses a Null for a NOT NULL key.
PRAGMA foreign_keys = ON;

CREATE TABLE AplicationParameters (
  ParameterId    VARCHAR(60) NOT NULL PRIMARY KEY COLLATE NOCASE,
  ParameterValue VARCHAR(255)
);

CREATE TABLE TipoCategorias (
  CategoriaId VARCHAR(10) NOT NULL PRIMARY KEY COLLATE NOCASE,
  Categoria   VARCHAR(100) NOT NULL,
  IsEnabled   BIT NOT NULL DEFAULT 1
);

CREATE TABLE TipoSubCategorias (
  SubCategoriaId VARCHAR(10) NOT NULL PRIMARY KEY COLLATE NOCASE,
  SubCategoria   VARCHAR(100) NOT NULL,
  IsEnabled      BIT NOT NULL DEFAULT 1
);

CREATE TABLE Gerencias (
  GerenciaId VARCHAR(10) NOT NULL PRIMARY KEY COLLATE NOCASE,
  Gerencia   VARCHAR(100) NOT NULL,
  IsEnabled  BIT NOT NULL DEFAULT 1
);

CREATE TABLE TipoDocumentos (
  TipoDocumentoId INT NOT NULL PRIMARY KEY,
  TipoDocumento   VARCHAR(100) NOT NULL,
  IsEnabled       BIT NOT NULL DEFAULT 1
);

CREATE VIEW V_TipoDocumentos AS
  SELECT TipoDocumentoId, TipoDocumento, IsEnabled FROM TipoDocumentos;

-- One row per field of a document type; DetalleId n is stored in Campo0n.
CREATE TABLE TipoDocumentosDetalle (
  TipoDocumentoId  INTEGER NOT NULL REFERENCES TipoDocumentos (TipoDocumentoId),
  DetalleId        INTEGER NOT NULL CHECK (DetalleId BETWEEN 1 AND 10),
  Nombre           VARCHAR(50) NOT NULL,
  DataType         INTEGER NOT NULL DEFAULT 0,
  ScreenType       VARCHAR(20) NOT NULL,
  RelationSentence VARCHAR(1000),
  Alignment        INTEGER NOT NULL DEFAULT 0,
  Decimales        INTEGER NOT NULL DEFAULT 0,
  ToolTipText      VARCHAR(255),
  PRIMARY KEY (TipoDocumentoId, DetalleId)
);

CREATE TABLE Empleados (
  EmpleadoId VARCHAR(20) NOT NULL PRIMARY KEY COLLATE NOCASE,
  UserName   VARCHAR(60) NOT NULL UNIQUE COLLATE NOCASE,
  Nombre     VARCHAR(100),
  GerenciaId VARCHAR(10) COLLATE NOCASE REFERENCES Gerencias (GerenciaId)
);

CREATE TABLE Documentos (
  DocumentoId         INT NOT NULL PRIMARY KEY,
  CategoriaId         VARCHAR(10) NOT NULL COLLATE NOCASE,
  SubCategoriaId      VARCHAR(10) NOT NULL COLLATE NOCASE,
  GerenciaId          VARCHAR(10) COLLATE NOCASE,
  TipoDocumentoId     INTEGER,
  Documento           VARCHAR(255),
  Path                VARCHAR(500),
  Campo01             VARCHAR(255),
  Campo02             VARCHAR(255),
  Campo03             VARCHAR(255),
  Campo04             VARCHAR(255),
  Campo05             VARCHAR(255),
  Campo06             VARCHAR(255),
  Campo07             VARCHAR(255),
  Campo08             VARCHAR(255),
  Campo09             VARCHAR(255),
  Campo10             VARCHAR(255),
  Fecha               DATETIME,
  CBarra              VARCHAR(100) COLLATE NOCASE,
  ReferenciaId        VARCHAR(100) COLLATE NOCASE,
  Comentarios         TEXT,
  FechaAlta           DATETIME,
  IsEnabled           BIT NOT NULL DEFAULT 0,
  UsuarioAlta         VARCHAR(60) COLLATE NOCASE,
  UsuarioModificacion VARCHAR(60) COLLATE NOCASE,
  FechaModificacion   DATETIME
);
CREATE INDEX Documentos_Categoria ON Documentos (CategoriaId);
-- The field editors' value lists read one document type's documents.
CREATE INDEX Documentos_TipoDocumento ON Documentos (TipoDocumentoId);
CREATE INDEX Documentos_SubCategoria ON Documentos (SubCategoriaId);
CREATE INDEX Documentos_Gerencia ON Documentos (GerenciaId);
CREATE INDEX Documentos_Referencia ON Documentos (ReferenciaId);
CREATE INDEX Documentos_CBarra ON Documentos (CBarra);
CREATE INDEX Documentos_FechaAlta ON Documentos (FechaAlta);

-- The document lists' columns, in the order the lists show them.
CREATE VIEW DocumentosView AS
  SELECT CategoriaId, SubCategoriaId, Fecha, TipoDocumentoId, Campo01, ReferenciaId, GerenciaId,
         DocumentoId, Documento, Path, Campo02, Campo03, Campo04, Campo05, Campo06, Campo07,
         Campo08, Campo09, Campo10, CBarra, Comentarios, FechaAlta, 0 AS IsNew
  FROM Documentos;

-- Documents kept elsewhere, listed beside ours: the columns of Documentos, then IsNew.
-- Empty here; a site that has such documents redefines it.
CREATE VIEW V_DocumentosExternos AS
  SELECT *, 0 AS IsNew FROM Documentos WHERE 0;

-- Who read which document (one row per reading).
CREATE TABLE DocumentosLog (
  DocumentoId       INTEGER NOT NULL,
  Usuario           VARCHAR(60) NOT NULL COLLATE NOCASE,
  RegistroId        INTEGER NOT NULL,
  Fecha             DATETIME,
  GerenciaId        VARCHAR(10) COLLATE NOCASE,
  ModuloId          VARCHAR(20) COLLATE NOCASE,
  Modulo            VARCHAR(100),
  EquipoId          VARCHAR(60),
  FechaAlta         DATETIME,
  FechaModificacion DATETIME,
  PRIMARY KEY (DocumentoId, Usuario, RegistroId)
);
CREATE INDEX DocumentosLog_Usuario ON DocumentosLog (Usuario, DocumentoId);
CREATE INDEX DocumentosLog_Fecha ON DocumentosLog (Fecha);

-- What was done, by whom, from which component and computer.
CREATE TABLE LogAcciones (
  EventoId      INT NOT NULL PRIMARY KEY,
  ModoDetalle   INTEGER,
  ComponentId   VARCHAR(20) COLLATE NOCASE,
  ComponentName VARCHAR(100),
  TipoAccion    INTEGER,
  Accion        VARCHAR(60),
  Detalle       VARCHAR(255),
  Mensaje       TEXT,
  Extra         TEXT,
  EquipoId      VARCHAR(60),
  UsuarioId     VARCHAR(60) COLLATE NOCASE,
  Fecha         DATETIME
);
CREATE INDEX LogAcciones_Usuario ON LogAcciones (UsuarioId);

-- The column dictionary: how a grid shows the columns of a table.
CREATE TABLE DictionaryFields (
  TableName        VARCHAR(60) NOT NULL COLLATE NOCASE,
  FieldId          INTEGER NOT NULL,
  FieldName        VARCHAR(60) NOT NULL,
  FieldCaption     VARCHAR(100),
  ScreenType       VARCHAR(20),
  SQLDataType      INTEGER,
  RelationSentence VARCHAR(1000),
  Alignment        INTEGER NOT NULL DEFAULT 0,
  IsEnabled        BIT NOT NULL DEFAULT 0,
  IsVisible        BIT NOT NULL DEFAULT 1,
  ColumnWidth      INTEGER NOT NULL DEFAULT 0,
  Length           INTEGER NOT NULL DEFAULT 0,
  PRIMARY KEY (TableName, FieldId)
);

-- Stored procedures: ParameterTypes has one letter per parameter (I whole number,
-- F number, T text, D date, B Boolean); the body names them ?1, ?2, ... and runs in
-- one transaction. RaiseError('text') refuses the call with that text.
CREATE TABLE Procedures (
  Name           VARCHAR(60) NOT NULL PRIMARY KEY COLLATE NOCASE,
  ParameterTypes VARCHAR(40) NOT NULL,
  Body           TEXT NOT NULL
);

-- Documentos_Add and Documentos_Update take: 1 DocumentoId, 2 CategoriaId,
-- 3 SubCategoriaId, 4 GerenciaId, 5 TipoDocumentoId, 6 Documento, 7 Path,
-- 8-17 Campo01-Campo10, 18 Fecha, 19 CBarra, 20 ReferenciaId, 21 the observation,
-- 22 whether the observation joins the comment history, 23 the user, 24 the date.
-- A new document starts not validated (IsEnabled 0); its comment history starts with
-- the observation; the user and date are those of the creation. An update appends the
-- observation to the history and records who changed it and when.
INSERT INTO Procedures (Name, ParameterTypes, Body) VALUES ('Documentos_Add', 'ITTTITTTTTTTTTTTTDTTTBTD',
'INSERT INTO Documentos (DocumentoId, CategoriaId, SubCategoriaId, GerenciaId, TipoDocumentoId, Documento, Path,
   Campo01, Campo02, Campo03, Campo04, Campo05, Campo06, Campo07, Campo08, Campo09, Campo10,
   Fecha, CBarra, ReferenciaId, Comentarios, FechaAlta, IsEnabled, UsuarioAlta)
 VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16, ?17,
   ?18, ?19, ?20, CASE WHEN ?22 THEN ?21 END, ?24, 0, ?23);');

INSERT INTO Procedures (Name, ParameterTypes, Body) VALUES ('Documentos_Update', 'ITTTITTTTTTTTTTTTDTTTBTD',
'UPDATE Documentos SET CategoriaId = ?2, SubCategoriaId = ?3, GerenciaId = ?4, TipoDocumentoId = ?5,
   Documento = ?6, Path = ?7, Campo01 = ?8, Campo02 = ?9, Campo03 = ?10, Campo04 = ?11, Campo05 = ?12,
   Campo06 = ?13, Campo07 = ?14, Campo08 = ?15, Campo09 = ?16, Campo10 = ?17, Fecha = ?18,
   CBarra = ?19, ReferenciaId = ?20,
   Comentarios = CASE WHEN ?22 THEN Coalesce(Comentarios, '''') || Coalesce(?21, '''') ELSE Comentarios END,
   UsuarioModificacion = ?23, FechaModificacion = ?24
 WHERE DocumentoId = ?1;
SELECT RaiseError(''No existe el documento '' || ?1) WHERE changes() = 0;');

-- LogAcciones_Add: 1 EventoId, 2 detail mode, 3 ComponentId, 4 ComponentName,
-- 5 action type, 6 action text, 7 detail, 8 message, 9 extra, 10 computer, 11 user, 12 date.
INSERT INTO Procedures (Name, ParameterTypes, Body) VALUES ('LogAcciones_Add', 'IITTITTTTTTD',
'INSERT INTO LogAcciones (EventoId, ModoDetalle, ComponentId, ComponentName, TipoAccion, Accion, Detalle,
   Mensaje, Extra, EquipoId, UsuarioId, Fecha)
 VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12);');

-- DocumentosLog_Add: the first nine columns of DocumentosLog, in order.
INSERT INTO Procedures (Name, ParameterTypes, Body) VALUES ('DocumentosLog_Add', 'ITIDTTTTD',
'INSERT INTO DocumentosLog (DocumentoId, Usuario, RegistroId, Fecha, GerenciaId, ModuloId, Modulo, EquipoId, FechaAlta)
 VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9);');
