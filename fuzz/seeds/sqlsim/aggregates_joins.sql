SELECT SUM(DISTINCT RecId), COUNT(DISTINCT Name), NULLIF(Name, 'x') FROM (Kunde k CROSS JOIN (Kunde_Keys kk)) JOIN KundeV v ON v.RecId = k.RecId GROUP BY Name
