<?php
// Router for PHP's built-in server in the demo: refuses the two documents and
// the server rules, and serves everything else as the server would.
// Usage: php -S 127.0.0.1:PORT -t FOLDER /path/to/web/router.php

// Every segment is checked, after decoding and without case or trailing dots
// and spaces, so no spelling of a path reaches a refused file.
$refused = array('tev10xml.xml', 'subjectxml.xml');
$path = rawurldecode(explode('?', $_SERVER['REQUEST_URI'], 2)[0]);
foreach (preg_split('#[/\\\\]+#', $path) as $segment) {
	$name = strtolower(rtrim($segment, ". \t"));
	if (in_array($name, $refused, true) || strncmp($name, '.ht', 3) === 0) {
		http_response_code(403);
		header('Content-Type: text/plain; charset=utf-8');
		echo "Forbidden\n";
		return true;
	}
}
return false;
