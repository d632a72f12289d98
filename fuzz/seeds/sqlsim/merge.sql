WITH q AS (SELECT RecId, Name FROM Kunde)
MERGE INTO Kunde AS t USING (VALUES (1, 'a'), (2, NULL)) AS s (RecId, Name) ON t.RecId = s.RecId
WHEN MATCHED AND s.Name IS NULL THEN DELETE
WHEN MATCHED THEN UPDATE SET Name = s.Name, Betrag = t.Betrag + 1
WHEN NOT MATCHED BY TARGET AND s.RecId > 0 THEN INSERT (RecId, Name) VALUES (s.RecId, s.Name)
WHEN NOT MATCHED BY SOURCE AND t.RecId > ? THEN UPDATE SET Betrag = 0
OUTPUT $action, inserted.*, deleted.RecId;
