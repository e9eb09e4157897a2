-- Run on a copy of the security database ("VkS") to make every administrator except
-- "administrador" (that is, the logon user the build added) a restricted user with
-- the permissions and categories of "usuario1". The application database already
-- holds an employee row for that logon.
UPDATE Users SET UserLevel = 1 WHERE UserLevel = 0 AND UserName <> 'administrador';
INSERT OR REPLACE INTO UsersPermissions (UserName, ComponentId, Verbos)
  SELECT U.UserName, P.ComponentId, P.Verbos FROM Users U, UsersPermissions P
  WHERE U.UserLevel = 1 AND U.UserName <> 'usuario1' AND P.UserName = 'usuario1';
INSERT OR REPLACE INTO UsersCategorias (UserName, CategoriaId)
  SELECT U.UserName, C.CategoriaId FROM Users U, UsersCategorias C
  WHERE U.UserLevel = 1 AND U.UserName <> 'usuario1' AND C.UserName = 'usuario1';
