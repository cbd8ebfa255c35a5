SELECT W.Name, W.Surname, W.IDNR, W.WorkerNR, COUNT (C.WorkerNR) AS CallCount
FROM Worker.DB W 
LEFT OUTER JOIN CALL.DB C ON (W.WorkerNR = C.WorkerNR)
GROUP BY W.Name, W.Surname, W.IDNR, W.WorkerNR