-- Sample rows for the audit screen ("R01MRK"): who read which document and when
-- (DocumentosLog), and the action log whose users fill the screen's user filter
-- (LogAcciones). Several users, departments and months, so the filters have something
-- to narrow. Ids follow whatever other sample files wrote first.

-- The action log: each user's work from the cataloguing and maintenance screens.
WITH acciones (n, ComponentId, ComponentName, TipoAccion, Accion, Detalle, EquipoId, UsuarioId, Fecha) AS (VALUES
  (1, 'I01CAT', 'Catalogación de Documentos', 2, 'ALTA-CREACION', 'Documento 1', 'PC-ADM-01', 'administrador', '2026-03-02 09:15:00'),
  (2, 'I01CAT', 'Catalogación de Documentos', 2, 'ALTA-CREACION', 'Documento 3', 'PC-RH-02', 'mgarcia', '2025-12-01 08:00:00'),
  (3, 'I01CAT', 'Catalogación de Documentos', 2, 'ALTA-CREACION', 'Documento 2', 'PC-OP-07', 'jlopez', '2026-10-16 11:40:00'),
  (4, 'I01MAN', 'Mantenimiento de Documentos', 3, 'N/A - MENSAJE NO DISPONIBLE', 'Documento 1', 'PC-ADM-01', 'administrador', '2026-03-05 16:20:00'),
  (5, 'I01VAL', 'Validación de Documentos', 11, 'MODIFICACION-GRABACION', 'Documento 3', 'PC-RH-02', 'mgarcia', '2025-12-03 10:05:00'),
  (6, 'R01VIE', 'Documentos No Leídos', 1, 'ERROR', 'Sin documentos', 'PC-OP-11', 'usuario1', '2026-04-10 12:00:00'),
  (7, 'I01MAN', 'Mantenimiento de Documentos', 3, 'N/A - MENSAJE NO DISPONIBLE', 'Documento 2', 'PC-OP-07', 'jlopez', '2026-10-20 09:30:00'),
  (8, 'I01VAL', 'Validación de Documentos', 11, 'MODIFICACION-GRABACION', 'Documento 2', 'PC-ADM-04', 'rperez', '2026-11-03 10:30:00'))
INSERT INTO LogAcciones (EventoId, ModoDetalle, ComponentId, ComponentName, TipoAccion, Accion, Detalle, Mensaje,
                         Extra, EquipoId, UsuarioId, Fecha)
  SELECT (SELECT Coalesce(Max(EventoId), 0) FROM LogAcciones) + n, 0, ComponentId, ComponentName, TipoAccion, Accion,
         Detalle, '', '', EquipoId, UsuarioId, Fecha
  FROM acciones;

-- The readings: RegistroId counts each user's readings of a document. Document 99 was
-- read and later deleted: the screen shows its number as stored.
WITH lecturas (DocumentoId, Usuario, n, Fecha, GerenciaId, ModuloId, Modulo, EquipoId, FechaModificacion) AS (VALUES
  (1, 'administrador', 1, '2026-03-02 10:00:00', 'AD', 'B01F01', 'Búsqueda de Documentos', 'PC-ADM-01', NULL),
  (1, 'administrador', 2, '2026-03-09 15:42:10', 'AD', 'B01F01', 'Búsqueda de Documentos', 'PC-ADM-01', NULL),
  (1, 'usuario1', 1, '2026-03-15 08:05:00', 'OP', 'R01VIE', 'Documentos No Leídos', 'PC-OP-11', NULL),
  (1, 'usuario1', 2, '2026-04-01 00:00:00', 'OP', 'B01F02', 'Búsqueda de Documentos (Consulta)', 'PC-OP-11', NULL),
  (1, 'mgarcia', 1, '2026-04-30 23:59:59', 'RH', 'B01F01', 'Búsqueda de Documentos', 'PC-RH-02', NULL),
  (1, 'jlopez', 1, '2026-05-12 11:11:00', 'OP', 'B01F01', 'Búsqueda de Documentos', 'PC-OP-07', '2026-05-13 09:00:00'),
  (2, 'administrador', 1, '2026-10-16 12:00:00', 'AD', 'B01F01', 'Búsqueda de Documentos', 'PC-ADM-01', NULL),
  (2, 'jlopez', 1, '2026-10-17 09:20:00', 'OP', 'R01VIE', 'Documentos No Leídos', 'PC-OP-07', NULL),
  (2, 'jlopez', 2, '2026-10-21 17:45:00', 'OP', 'B01F01', 'Búsqueda de Documentos', 'PC-OP-07', NULL),
  (2, 'usuario1', 1, '2026-10-22 08:30:00', 'OP', 'R01VIE', 'Documentos No Leídos', 'PC-OP-11', NULL),
  (2, 'rperez', 1, '2026-11-02 14:00:00', 'AD', 'B01F02', 'Búsqueda de Documentos (Consulta)', 'PC-ADM-04', NULL),
  (2, 'rperez', 2, '2026-11-03 10:10:00', 'AD', 'B01F02', 'Búsqueda de Documentos (Consulta)', 'PC-ADM-04', NULL),
  (3, 'mgarcia', 1, '2025-12-01 09:00:00', 'RH', 'R01VIE', 'Documentos No Leídos', 'PC-RH-02', NULL),
  (3, 'mgarcia', 2, '2025-12-02 16:30:00', 'RH', 'B01F01', 'Búsqueda de Documentos', 'PC-RH-02', NULL),
  (3, 'mgarcia', 3, '2026-01-07 10:00:00', 'RH', 'B01F01', 'Búsqueda de Documentos', 'PC-RH-02', '2026-01-08 12:00:00'),
  (3, 'administrador', 1, '2025-12-31 18:00:00', 'AD', 'B01F01', 'Búsqueda de Documentos', 'PC-ADM-01', NULL),
  (3, 'rperez', 1, '2026-02-14 13:25:00', 'RH', 'B01F02', 'Búsqueda de Documentos (Consulta)', 'PC-RH-05', NULL),
  (3, 'usuario1', 1, '2026-06-01 07:50:00', 'OP', 'B01F02', 'Búsqueda de Documentos (Consulta)', 'PC-OP-11', NULL),
  (99, 'administrador', 1, '2025-11-20 11:00:00', 'AD', 'B01F01', 'Búsqueda de Documentos', 'PC-ADM-01', NULL),
  (99, 'jlopez', 1, '2025-11-21 15:15:00', 'OP', 'B01F01', 'Búsqueda de Documentos', 'PC-OP-07', NULL))
INSERT INTO DocumentosLog (DocumentoId, Usuario, RegistroId, Fecha, GerenciaId, ModuloId, Modulo, EquipoId, FechaAlta,
                           FechaModificacion)
  SELECT l.DocumentoId, l.Usuario,
         (SELECT Coalesce(Max(g.RegistroId), 0) FROM DocumentosLog g
          WHERE g.DocumentoId = l.DocumentoId AND g.Usuario = l.Usuario) + l.n,
         l.Fecha, l.GerenciaId, l.ModuloId, l.Modulo, l.EquipoId, l.Fecha, l.FechaModificacion
  FROM lecturas l;
