Select WorkerNr, Name, Surname, (Name || ' ' || Surname) AS FullName from Worker
where WorkerNR = :WorkerNr