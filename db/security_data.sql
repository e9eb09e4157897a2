-- Sample security data. The build adds the user who runs it as an administrator;
-- "usuario1" is a restricted user (level 1) with two categories and permissions.
INSERT INTO Components (ComponentId, ComponentName) VALUES
  ('I01REV', 'Revisión de Imágenes'),
  ('I01CAT', 'Catalogación de Documentos'),
  ('I01VAL', 'Validación de Documentos'),
  ('I01MAN', 'Mantenimiento de Documentos'),
  ('R01VIE', 'Documentos No Leídos'),
  ('R01MRK', 'Auditoría de Accesos'),
  ('B01F01', 'Búsqueda de Documentos'),
  ('B01F02', 'Búsqueda de Documentos (Consulta)');

INSERT INTO Users (UserName, UserDescription, UserLevel) VALUES
  ('administrador', 'Administrador del Sistema', 0),
  ('usuario1', 'Usuario de Consulta', 1);

INSERT INTO UsersPermissions (UserName, ComponentId, Verbos)
  SELECT 'usuario1', ComponentId, '1|2|3' FROM Components;

INSERT INTO Categorias (CategoriaId, Categoria) VALUES
  ('G1', 'Administración'),
  ('G2', 'Operaciones');

INSERT INTO CategoriasDetail (CategoriaN1Id, CategoriaN2Id) VALUES
  ('G1', '1'), ('G1', '2'), ('G2', '3');

INSERT INTO UsersCategorias (UserName, CategoriaId) VALUES ('usuario1', 'G1');
