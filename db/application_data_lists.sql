-- Sample documents for the document lists: enough in every category, of every stored
-- format, that the unread list and the search open on a grouped list whose rows show
-- in the preview. Some carry a comment history; a few have been read already (by the
-- restricted user "usuario1" and by "administrador"), so their rows are not bold for
-- those users. The demo's set-up gives every document its stored file.
INSERT INTO Documentos
  (DocumentoId, CategoriaId, SubCategoriaId, GerenciaId, TipoDocumentoId, Documento, Path,
   Campo01, Campo02, Campo03, Campo04, Fecha, CBarra, ReferenciaId, Comentarios, FechaAlta, IsEnabled, UsuarioAlta) VALUES
  (101, '1', '1', 'AD', 1, 'contrato_arrendamiento.tif', 'C:\Ostrela\Documentos\00001\00001\00000000000000000101.tif',
   'Arrendadora Norte', '2028-01-31', 'USD', NULL, '2026-01-10 00:00:00', '7791234001018', 'CT-2026-011',
   'administrador - Fecha : [ 12/01/2026 10:30:00]' || char(13) || char(10) || 'Falta la firma del garante.' ||
   char(13) || char(10) || char(13) || char(10), '2026-01-12 10:30:00', 1, 'administrador'),
  (102, '1', '2', 'AD', 1, 'contrato_servicios.jpg', 'C:\Ostrela\Documentos\00001\00002\00000000000000000102.jpg',
   'Limpiezas del Sur', '2027-06-30', 'ARS', NULL, '2026-02-03 00:00:00', '7791234001025', 'CT-2026-014', NULL,
   '2026-02-04 09:00:00', 1, 'administrador'),
  (103, '1', '3', 'OP', 1, 'anexo_contrato.png', 'C:\Ostrela\Documentos\00001\00003\00000000000000000103.png',
   'Limpiezas del Sur', NULL, 'ARS', NULL, '2026-02-05 00:00:00', '7791234001032', 'CT-2026-014-A', NULL,
   '2026-02-05 15:20:00', 0, 'administrador'),
  (104, '1', '1', 'OP', 1, 'contrato_mantenimiento.pdf', 'C:\Ostrela\Documentos\00001\00001\00000000000000000104.pdf',
   'Ascensores Andinos', '2026-12-31', 'EUR', NULL, '2026-02-20 00:00:00', '7791234001049', 'CT-2026-020', NULL,
   '2026-02-21 11:05:00', 1, 'administrador'),
  (105, '2', '1', 'OP', 2, 'factura_0002.tif', 'C:\Ostrela\Documentos\00002\00001\00000000000000000105.tif',
   'OP', '0002-00000871', '48250.00', '2026-03-31', '2026-03-01 00:00:00', '7791234001056', 'FC-0002-871', NULL,
   '2026-03-02 08:45:00', 1, 'administrador'),
  (106, '2', '1', 'AD', 2, 'factura_0003.jpg', 'C:\Ostrela\Documentos\00002\00001\00000000000000000106.jpg',
   'AD', '0003-00001204', '1320.75', '2026-04-15', '2026-03-15 00:00:00', '7791234001063', 'FC-0003-1204',
   'usuario1 - Fecha : [ 16/03/2026 12:00:00]' || char(13) || char(10) || 'Pagada con transferencia.' ||
   char(13) || char(10) || char(13) || char(10), '2026-03-16 12:00:00', 0, 'administrador'),
  (107, '2', '2', 'OP', 2, 'factura_0004.png', 'C:\Ostrela\Documentos\00002\00002\00000000000000000107.png',
   'OP', '0004-00000055', '990.00', '2026-04-30', '2026-03-20 00:00:00', '7791234001070', 'FC-0004-55', NULL,
   '2026-03-21 10:10:00', 0, 'administrador'),
  (108, '2', '1', 'RH', 2, 'factura_0005.pdf', 'C:\Ostrela\Documentos\00002\00001\00000000000000000108.pdf',
   'RH', '0005-00003310', '27600.10', '2026-05-10', '2026-04-02 00:00:00', '7791234001087', 'FC-0005-3310', NULL,
   '2026-04-03 16:30:00', 1, 'administrador'),
  (109, '2', '1', 'OP', 2, 'factura_0006.bmp', 'C:\Ostrela\Documentos\00002\00001\00000000000000000109.bmp',
   'OP', '0006-00000412', '5400.00', '2026-05-20', '2026-04-10 00:00:00', '7791234001094', 'FC-0006-412', NULL,
   '2026-04-11 09:25:00', 0, 'administrador'),
  (110, '3', '1', 'RH', 3, 'legajo_gomez.tif', 'C:\Ostrela\Documentos\00003\00001\00000000000000000110.tif',
   '2051', 'Gómez, Luis', NULL, NULL, '2025-11-03 00:00:00', NULL, 'LG-2051', NULL, '2025-11-04 08:00:00', 1,
   'administrador'),
  (111, '3', '2', 'RH', 3, 'legajo_lopez.jpg', 'C:\Ostrela\Documentos\00003\00002\00000000000000000111.jpg',
   '2077', 'López, Marta', NULL, NULL, '2025-12-12 00:00:00', NULL, 'LG-2077', NULL, '2025-12-13 08:30:00', 1,
   'administrador'),
  (112, '3', '1', 'RH', 3, 'legajo_martinez.gif', 'C:\Ostrela\Documentos\00003\00001\00000000000000000112.gif',
   '2090', 'Martínez, Sofía', NULL, NULL, '2026-01-20 00:00:00', NULL, 'LG-2090', NULL, '2026-01-21 09:40:00', 0,
   'administrador'),
  (113, '3', '3', 'RH', 3, 'certificado_medico.png', 'C:\Ostrela\Documentos\00003\00003\00000000000000000113.png',
   '2051', 'Gómez, Luis', NULL, NULL, '2026-02-14 00:00:00', NULL, 'LG-2051-CM', NULL, '2026-02-14 14:15:00', 0,
   'administrador'),
  (114, '2', '2', 'AD', 2, 'nota_credito_0001.tif', 'C:\Ostrela\Documentos\00002\00002\00000000000000000114.tif',
   'AD', '0001-00000019', '-320.00', NULL, '2026-04-18 00:00:00', '7791234001148', 'NC-0001-19', NULL,
   '2026-04-18 17:00:00', 0, 'administrador'),
  (115, '1', '1', 'AD', 1, 'contrato_dangelo.tif', 'C:\Ostrela\Documentos\00001\00001\00000000000000000115.tif',
   'D''Angelo Hnos.', '2029-03-31', 'ARS', NULL, '2026-04-22 00:00:00', '7791234001155', 'CT-D''ANGELO-1', NULL,
   '2026-04-22 10:00:00', 1, 'administrador');

-- Readings: "usuario1" has read two documents, "administrador" one.
INSERT INTO DocumentosLog
  (DocumentoId, Usuario, RegistroId, Fecha, GerenciaId, ModuloId, Modulo, EquipoId, FechaAlta) VALUES
  (101, 'usuario1', 1, '2026-01-15 09:00:00', 'OP', 'R01VIE', 'Documentos No Leídos', 'PC-CONSULTA', '2026-01-15 09:00:00'),
  (105, 'usuario1', 1, '2026-03-05 11:20:00', 'OP', 'B01F01', 'Búsqueda de Documentos', 'PC-CONSULTA', '2026-03-05 11:20:00'),
  (102, 'administrador', 1, '2026-02-06 10:00:00', 'AD', 'B01F01', 'Búsqueda de Documentos', 'PC-ADMIN', '2026-02-06 10:00:00');
