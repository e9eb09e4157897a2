-- Sample application data ("Ostrela"): parameters, catalogue tables, document types
-- with fields of the three screen kinds, the column dictionary of the document
-- lists, an employee for the restricted user and a few catalogued documents.
INSERT INTO AplicationParameters (ParameterId, ParameterValue) VALUES
  ('HKEY_DOCUMENTOS_PATH_ORIGEN', 'C:\Ostrela\Origen\[UserNameNT]'),
  ('HKEY_DOCUMENTOS_PATH_DESTINO', 'C:\Ostrela\Documentos'),
  ('HKEY_DOCUMENTOS_LOAD_MAX', '50'),
  ('HKEY_OSTRELA_VERSION', '1.0');

INSERT INTO TipoCategorias (CategoriaId, Categoria, IsEnabled) VALUES
  ('1', 'Contratos', 1),
  ('2', 'Facturas', 1),
  ('3', 'Personal', 1),
  ('4', 'Histórico', 0);

INSERT INTO TipoSubCategorias (SubCategoriaId, SubCategoria, IsEnabled) VALUES
  ('1', 'Originales', 1),
  ('2', 'Copias', 1),
  ('3', 'Anexos', 1),
  ('9', 'Descartados', 0);

INSERT INTO Gerencias (GerenciaId, Gerencia, IsEnabled) VALUES
  ('AD', 'Administración', 1),
  ('OP', 'Operaciones', 1),
  ('RH', 'Recursos Humanos', 1),
  ('XX', 'Gerencia Cerrada', 0);

INSERT INTO TipoDocumentos (TipoDocumentoId, TipoDocumento, IsEnabled) VALUES
  (1, 'Contrato', 1),
  (2, 'Factura', 1),
  (3, 'Legajo', 1),
  (4, 'Nota Antigua', 0);

INSERT INTO TipoDocumentosDetalle
  (TipoDocumentoId, DetalleId, Nombre, DataType, ScreenType, RelationSentence, Alignment, Decimales, ToolTipText) VALUES
  (1, 1, 'Contraparte', 0, 'TextBox', 'Select Campo01 As Contraparte From Documentos Where TipoDocumentoId = 1', 0, 0, 'Nombre de la otra parte'),
  (1, 2, 'Vigencia', 1, 'DTPicker', NULL, 0, 0, 'Fecha de fin de vigencia'),
  (1, 3, 'Moneda', 0, 'ComboBox', 'ARS|USD|EUR', 0, 0, 'Moneda del contrato'),
  (2, 1, 'Proveedor', 0, 'ComboBox', 'Select GerenciaId , Gerencia From Gerencias Where IsEnabled = 1', 0, 0, 'Área que recibe la factura'),
  (2, 2, 'Numero', 1, 'TextBox', NULL, 2, 0, 'Número de factura'),
  (2, 3, 'Importe', 1, 'TextBox', NULL, 2, 2, 'Importe total'),
  (2, 4, 'Vencimiento', 1, 'DTPicker', NULL, 0, 0, 'Fecha de vencimiento'),
  (3, 1, 'Legajo', 1, 'TextBox', NULL, 1, 0, 'Número de legajo'),
  (3, 2, 'Empleado', 0, 'TextBox', 'Select Campo02 As Empleado From Documentos Where TipoDocumentoId = 3', 0, 0, 'Apellido y nombre');

INSERT INTO Empleados (EmpleadoId, UserName, Nombre, GerenciaId) VALUES
  ('E0001', 'usuario1', 'Usuario de Consulta', 'OP');

-- The 23 columns of the document lists, in order (SQLDataType: ADO type codes).
INSERT INTO DictionaryFields
  (TableName, FieldId, FieldName, FieldCaption, ScreenType, SQLDataType, RelationSentence, Alignment, IsEnabled, IsVisible, ColumnWidth, Length) VALUES
  ('DocumentosView', 1, 'CategoriaId', 'Categoría', 'ComboBox', 200, 'Select CategoriaId , Categoria From TipoCategorias', 0, 0, 1, 10, 10),
  ('DocumentosView', 2, 'SubCategoriaId', 'Sub Categoría', 'ComboBox', 200, 'Select SubCategoriaId , SubCategoria From TipoSubCategorias', 0, 0, 1, 10, 10),
  ('DocumentosView', 3, 'Fecha', 'Fecha', 'DTPicker', 135, NULL, 0, 0, 1, 8, 10),
  ('DocumentosView', 4, 'TipoDocumentoId', 'Tipo', 'ComboBox', 3, 'Select TipoDocumentoId , TipoDocumento From TipoDocumentos', 0, 0, 1, 10, 10),
  ('DocumentosView', 5, 'Campo01', 'Dato Principal', 'TextBox', 200, NULL, 0, 0, 1, 14, 255),
  ('DocumentosView', 6, 'ReferenciaId', 'Referencia', 'TextBox', 200, NULL, 0, 0, 1, 10, 100),
  ('DocumentosView', 7, 'GerenciaId', 'Gerencia', 'ComboBox', 200, 'Select GerenciaId , Gerencia From Gerencias', 0, 0, 1, 10, 10),
  ('DocumentosView', 8, 'DocumentoId', 'Nro.', 'TextBox', 3, NULL, 2, 0, 1, 6, 10),
  ('DocumentosView', 9, 'Documento', 'Archivo', 'TextBox', 200, NULL, 0, 0, 1, 12, 255),
  ('DocumentosView', 10, 'Path', 'Ubicación', 'TextBox', 200, NULL, 0, 0, 0, 0, 500),
  ('DocumentosView', 11, 'Campo02', 'Campo 2', 'TextBox', 200, NULL, 0, 0, 0, 0, 255),
  ('DocumentosView', 12, 'Campo03', 'Campo 3', 'TextBox', 200, NULL, 0, 0, 0, 0, 255),
  ('DocumentosView', 13, 'Campo04', 'Campo 4', 'TextBox', 200, NULL, 0, 0, 0, 0, 255),
  ('DocumentosView', 14, 'Campo05', 'Campo 5', 'TextBox', 200, NULL, 0, 0, 0, 0, 255),
  ('DocumentosView', 15, 'Campo06', 'Campo 6', 'TextBox', 200, NULL, 0, 0, 0, 0, 255),
  ('DocumentosView', 16, 'Campo07', 'Campo 7', 'TextBox', 200, NULL, 0, 0, 0, 0, 255),
  ('DocumentosView', 17, 'Campo08', 'Campo 8', 'TextBox', 200, NULL, 0, 0, 0, 0, 255),
  ('DocumentosView', 18, 'Campo09', 'Campo 9', 'TextBox', 200, NULL, 0, 0, 0, 0, 255),
  ('DocumentosView', 19, 'Campo10', 'Campo 10', 'TextBox', 200, NULL, 0, 0, 0, 0, 255),
  ('DocumentosView', 20, 'CBarra', 'Código de Barras', 'TextBox', 200, NULL, 0, 0, 1, 10, 100),
  ('DocumentosView', 21, 'Comentarios', 'Comentarios', 'TextBox', 201, NULL, 0, 0, 0, 0, 0),
  ('DocumentosView', 22, 'FechaAlta', 'F.Alta', 'DTPicker', 135, NULL, 0, 0, 1, 0, 10),
  ('DocumentosView', 23, 'IsNew', 'Leído', 'CheckBox', 11, NULL, 1, 0, 0, 0, 1);

INSERT INTO Documentos
  (DocumentoId, CategoriaId, SubCategoriaId, GerenciaId, TipoDocumentoId, Documento, Path,
   Campo01, Campo02, Campo03, Fecha, CBarra, ReferenciaId, Comentarios, FechaAlta, IsEnabled, UsuarioAlta) VALUES
  (1, '1', '1', 'AD', 1, 'contrato_alquiler.tif', 'C:\Ostrela\Documentos\00001\00001\00000000000000000001.tif',
   'Inmobiliaria Sur', '2027-03-31', 'ARS', '2026-03-01 00:00:00', '7791234000011', 'CT-2026-001', NULL, '2026-03-02 09:15:00', 1, 'administrador'),
  (2, '2', '1', 'OP', 2, 'factura_0001.pdf', 'C:\Ostrela\Documentos\00002\00001\00000000000000000002.pdf',
   'OP', '0001-00012345', '15230.50', '2026-10-15 00:00:00', '7791234000028', 'FC-0001-12345', NULL, '2026-10-16 11:40:00', 0, 'administrador'),
  (3, '3', '2', 'RH', 3, 'legajo_perez.jpg', 'C:\Ostrela\Documentos\00003\00002\00000000000000000003.jpg',
   '1024', 'Pérez, Ana', NULL, '2025-12-01 00:00:00', NULL, 'LG-1024', NULL, '2025-12-01 08:00:00', 1, 'administrador');
