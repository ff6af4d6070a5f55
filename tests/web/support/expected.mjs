// What a look-up must show, worked out from the fixture data on its own:
// the tables of the grade viewer as row signatures (see html.mjs).
import { SUBJECTS } from './fixture.mjs';

export const BACK = '<< กลับ';
export const CAPTIONS = ['ไทย', 'คณิต', 'วิทย์', 'สังคม', 'สุขศึกษา', 'ศิลปะ', 'การงานฯ', 'ภาษาฯ', 'รวม'];
export const NOT_FOUND_ROWS = [['th:ไม่พบข้อมูลดังกล่าวกรุณาป้อนข้อมูลใหม่'], ['td:กลับ']];
const nbsp = '\u00a0';

// The rows of one student's results table against the catalogue subjects; the
// last table of a page also carries the closing back-link row.
export function studentRows(s, closing, subjects = SUBJECTS) {
  const rows = [
    [`td:${BACK}`, 'td*8:ระบบแสดงผลการเรียน'],
    [`th*9:เลขประจำตัวนักเรียน: ${s.Co} ชื่อ: ${s.Na}`],
    [`th*9:ระดับชั้น: ${s.CR}`],
    ['th*9:'],
  ];
  for (const t of s.terms) {
    rows.push([`th*9:ปีการศึกษา: ${t.Yr}${nbsp}${nbsp}${t.Tm}${nbsp}${nbsp}${nbsp}ผลการเรียนเฉลี่ย: ${t.GA}`]);
    rows.push(['td:รหัสวิชา', 'td:ชื่อวิชา', `td:${t.Tm === '' ? 'ชั่วโมง' : 'หน่วยกิต'}`,
      'td*5:คะแนนที่ได้ / คะแนนเต็ม', 'td:เกรด']);
    rows.push(['td:ก่อน', 'td:กลาง', 'td:หลัง', 'td:ปลาย', 'td:รวม']);
    for (const r of t.Ss) {
      for (const sub of subjects.filter((x) => x.I === r.C)) {
        rows.push([sub.C, sub.N, sub.R, r.B, r.M, r.A, r.F, r.T, r.G].map((v) => `td:${v}`));
      }
    }
  }
  if (closing) rows.push([`td*9:${BACK}`]);
  return rows;
}

// The summary table inside the fourth row.
export function summaryRows(s) {
  return [
    ['td:', ...CAPTIONS.map((c) => `td:${c}`)],
    ['td:ผลการเรียนเฉลี่ยสะสม', ...['Th', 'Ma', 'Sc', 'So', 'He', 'Ar', 'Jo', 'En', 'GP'].map((k) => `td:${s[k]}`)],
  ];
}
