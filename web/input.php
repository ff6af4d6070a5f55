<html>
<head>
<meta http-equiv="content-type" content="text/html; charset=utf-8" />
<title>TEV10 Grade Viewer</title>
</head>
<body>
<div align=center>ระบบแสดงผลการเรียน</div>
</body>
</html>
