<html>
<head>
<meta http-equiv="content-type" content="text/html; charset=utf-8" />
<title>TEV10 Grade Viewer</title>
<style type="text/css">
table {
	border-collapse: separate;
	border-spacing: 5px 2px;
	font-family: Tahoma;
	font-size: 10pt;
	border: 1px solid black;
}
tr:nth-child(even) {
	background-color: #E0E0E0;
}
th {
	background-color: #ff794d;
	color: white;
}
table#t01 {
	border-collapse: separate;
	border-spacing: 5px 2px;
	width: 100%;
	background-color: #FBD4B4;
	font-family: Tahoma;
	font-size: 10pt;
	border: 0px;
}
table#t01 tr:nth-child(even) {
	background-color: white;
}
.styleOrange {
	background-color: #FBD4B4;
}
.styleSkyBlue {
	background-color: #B9DCFF;
}
</style>
</head>
<body>
<div align=center>
<?php
// Every value from the documents goes out through h(): names may hold markup.
function h($text) {
	return htmlspecialchars((string)$text, ENT_QUOTES, 'UTF-8');
}

// The children of an element, none when the element is missing.
function childNodes($node) {
	$children = $node->children();
	return $children === null ? array() : $children;
}

// A document beside this page, or false when it is missing or not well-formed.
function loadDocument($name) {
	$path = __DIR__ . '/' . $name;
	if (!is_file($path)) {
		return false;
	}
	libxml_use_internal_errors(true);
	$document = simplexml_load_file($path, 'SimpleXMLElement', LIBXML_NONET);
	libxml_clear_errors();
	return $document;
}

// A posted field as text; a missing or non-text field reads as empty text.
function postedText($fields, $name) {
	return isset($fields[$name]) && is_string($fields[$name]) ? $fields[$name] : '';
}

$NotFound = true;
$fields = array();
foreach ($_POST as $name => $value) {
	$fields[$name] = $value;
}
$id = postedText($fields, 'ID');
$bdate = postedText($fields, 'BDate');

$students = loadDocument('tev10xml.xml');
if ($students === false) {
	echo 'Failed to open tev10xml.xml.';
	exit;
}
$subjects = loadDocument('subjectxml.xml');
if ($subjects === false) {
	echo 'Failed to open subjectxml.xml.';
	exit;
}

$back = '<a href="input.php">&lt;&lt; กลับ</a>';
$captions = array('ไทย', 'คณิต', 'วิทย์', 'สังคม', 'สุขศึกษา', 'ศิลปะ', 'การงานฯ', 'ภาษาฯ', 'รวม');
$groups = array('Th', 'Ma', 'Sc', 'So', 'He', 'Ar', 'Jo', 'En', 'GP');
$sky = '<td align="center" class="styleSkyBlue"';

foreach (childNodes($students) as $student) {
	$person = $student->Psn;
	// Loose equality on texts: a code typed with leading zeros still matches,
	// while a date with slashes must match character for character.
	if (!((string)$person->Co == $id && (string)$person->BD == $bdate)) {
		continue;
	}
	echo '<table>';
	echo '<tr><td>' . $back . '</td><td colspan="8" align="right"><b>ระบบแสดงผลการเรียน</b></td></tr>';
	echo '<tr><th colspan="9">เลขประจำตัวนักเรียน: ' . h($person->Co) . ' ชื่อ: ' . h($person->Na) . '</th></tr>';
	echo '<tr><th colspan="9">ระดับชั้น: ' . h($person->CR) . '</th></tr>';
	echo '<tr><th colspan="9"><table id="t01" align="right"><tr><td></td>';
	foreach ($captions as $caption) {
		echo '<td align="center">' . $caption . '</td>';
	}
	echo '</tr><tr><td align="center" class="styleOrange">ผลการเรียนเฉลี่ยสะสม</td>';
	foreach ($groups as $group) {
		echo '<td align="center">' . h($person->$group) . '</td>';
	}
	echo '</tr></table></tr>';

	foreach (childNodes($student->Trs) as $term) {
		$session = $term->Se;
		$termName = (string)$session->Tm;
		echo '<tr><th colspan="9">ปีการศึกษา: ' . h($session->Yr) . '&nbsp;&nbsp;' . h($termName)
			. '&nbsp;&nbsp;&nbsp;ผลการเรียนเฉลี่ย: ' . h($session->GA) . '</th></tr>';
		echo '<tr>' . $sky . ' rowspan="2">รหัสวิชา</td>' . $sky . ' rowspan="2">ชื่อวิชา</td>'
			. $sky . ' rowspan="2">' . ($termName === '' ? 'ชั่วโมง' : 'หน่วยกิต') . '</td>'
			. $sky . ' colspan="5">คะแนนที่ได้ / คะแนนเต็ม</td>' . $sky . ' rowspan="2">เกรด</td></tr>';
		echo '<tr>' . $sky . '>ก่อน</td>' . $sky . '>กลาง</td>' . $sky . '>หลัง</td>'
			. $sky . '>ปลาย</td>' . $sky . '>รวม</td></tr>';
		foreach (childNodes($term->Ss) as $result) {
			$subjectId = (string)$result->C;
			foreach (childNodes($subjects) as $subject) {
				if (!((string)$subject->I == $subjectId)) {
					continue;
				}
				echo '<tr><td align="left">' . h($subject->C) . '</td><td align="left">' . h($subject->N)
					. '</td><td align="center">' . h($subject->R) . '</td>';
				foreach (array('B', 'M', 'A', 'F', 'T', 'G') as $part) {
					echo '<td align="center">' . h($result->$part) . '</td>';
				}
				echo '</tr>';
			}
		}
	}
	$NotFound = false;
}

if ($NotFound) {
	echo '<table><tr><th>ไม่พบข้อมูลดังกล่าวกรุณาป้อนข้อมูลใหม่</th></tr>'
		. '<tr><td><a href="input.php">กลับ</a></td></tr></table>';
} else {
	echo '<tr><td colspan="9">' . $back . '</td></tr></table>' . "\n";
}
?>
</div>
</body>
</html>
