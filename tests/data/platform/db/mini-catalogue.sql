-- A few catalogue rows in the layout of the catalogue file, stored out of
-- catalogue order, with an empty (null) value.
CREATE TABLE BE_SE (ID INTEGER PRIMARY KEY AUTOINCREMENT, CatNo SMALLINT NOT NULL, Saros SMALLINT,
  k INTEGER NOT NULL UNIQUE, DT VARCHAR(12), Type VARCHAR(1), Gamma FLOAT, Magnitude FLOAT);
INSERT INTO BE_SE (CatNo, Saros, k, DT, Type, Gamma, Magnitude) VALUES
  (9561, 139, 300, '2024 Apr 08', 'T', 0.3431, 1.0566),
  (9555, 134, 294, '2023 Oct 14', 'A', 0.3753, 0.952),
  (9562, 144, 306, '2024 Oct 02', 'A', -0.3509, 0.9326),
  (9563, 149, 312, '2025 Mar 29', 'P', 1.0405, NULL),
  (9554, 129, 288, '2023 Apr 20', 'H', -0.3952, 1.0132),
  (9564, 154, 318, '2025 Sep 21', 'P', -1.0651, 0.8550),
  (1, 5, -49456, '-1999 Jun 12', 'T', -0.2701, 1.0733);
CREATE TABLE BE_LE (ID INTEGER PRIMARY KEY AUTOINCREMENT, CatNo INTEGER NOT NULL, Saros SMALLINT,
  k INTEGER NOT NULL UNIQUE, DT VARCHAR(12), Type VARCHAR(1), QSE VARCHAR(4), MagUmbra FLOAT);
INSERT INTO BE_LE (CatNo, Saros, k, DT, Type, QSE, MagUmbra) VALUES
  (9706, 123, 311, '2025 Mar 14', 'T', '-p', 1.1784),
  (9707, 128, 317, '2025 Sep 07', 'T', '-p', 1.3619),
  (9705, 118, 305, '2024 Sep 18', 'P', '-a', 0.0848),
  (9704, 113, 299, '2024 Mar 25', 'N', 't-', -0.1304);
