-- Sample data for the capture screens: a document type with five fields (one shared
-- with the contracts, one without a tooltip, a fixed list, field numbers with gaps).
INSERT INTO TipoDocumentos (TipoDocumentoId, TipoDocumento, IsEnabled) VALUES
  (5, 'Expediente', 1);

INSERT INTO TipoDocumentosDetalle
  (TipoDocumentoId, DetalleId, Nombre, DataType, ScreenType, RelationSentence, Alignment, Decimales, ToolTipText) VALUES
  (5, 1, 'Contraparte', 0, 'TextBox', 'Select Campo01 As Contraparte From Documentos Where TipoDocumentoId = 1', 0, 0, 'Nombre de la otra parte'),
  (5, 2, 'Expediente', 1, 'TextBox', NULL, 1, 0, NULL),
  (5, 3, 'Instancia', 0, 'ComboBox', 'Primera|Segunda|Tercera', 0, 0, 'Instancia del trámite'),
  (5, 5, 'Apertura', 1, 'DTPicker', NULL, 0, 0, 'Fecha de apertura'),
  (5, 7, 'Responsable', 0, 'ComboBox', 'Select GerenciaId , Gerencia From Gerencias Where IsEnabled = 1', 0, 0, 'Gerencia responsable');

